#pragma once

#include <thread>

// Loads the system's font configuration on a thread of its own while the
// display connection is made: parsing it takes a few milliseconds that the
// first text laid out in the window would otherwise wait for. Qt finds it
// loaded. Where the program is built without fontconfig this does nothing.
class FontWarmUp
{
public:
    FontWarmUp();
    ~FontWarmUp();
    FontWarmUp(const FontWarmUp &) = delete;
    FontWarmUp &operator=(const FontWarmUp &) = delete;

    // Returns once the configuration is loaded.
    void wait();

private:
    std::thread m_thread;
};
