// zerkon-drive: the panel of Zerkon, as the program starts it, with the hands of an unattended
// seller. It is not shipped: `make run` uses it where there is no display, to press the panel's
// own buttons on the sample data (ZERKON_DEMO_ROAD, ZERKON_DEMO_CLICKS).
#include "DemoHooks.h"
#include "DemoRoad.h"
#include "app/Program.h"

int main(int argc, char** argv) {
    return zk::runProgram(argc, argv, [](zk::TMain* main) {
        zk::armDemoClicks(main);
        zk::runDemoRoad(main);
    });
}
