#include "COrvaneApp.h"
#include "Display.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (!velmora::front::DisplayAvailable()) {
        std::fputs("orvane: no display available (DISPLAY and WAYLAND_DISPLAY are empty and QT_QPA_PLATFORM is not set)\n",
                   stderr);
        return 1;
    }
    velmora::front::COrvaneApp app(argc, argv);
    app.InitInstance();
    return 0;
}
