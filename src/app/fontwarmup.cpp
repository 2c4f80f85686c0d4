#include "app/fontwarmup.h"

#include <system_error>

#ifdef PALCOMIR_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

FontWarmUp::FontWarmUp()
{
#ifdef PALCOMIR_HAVE_FONTCONFIG
    // Without a thread to spare, Qt loads the configuration itself when needed.
    try {
        m_thread = std::thread([] { FcInit(); });
    } catch (const std::system_error &) { }
#endif
}

FontWarmUp::~FontWarmUp()
{
    wait();
}

void FontWarmUp::wait()
{
    if (m_thread.joinable())
        m_thread.join();
}
