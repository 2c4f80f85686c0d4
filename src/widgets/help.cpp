#include "widgets/help.h"

namespace Help {
namespace {
Handler &handler()
{
    static Handler installed;
    return installed;
}
} // namespace

void setHandler(Handler h)
{
    handler() = std::move(h);
}

void show(QWidget *parent, int context)
{
    if (handler())
        handler()(parent, context);
}

} // namespace Help
