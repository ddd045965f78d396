// Process entry: the command line's own answers, else the program.
#include "app/CommandLine.h"
#include "app/Program.h"
#include "app/SiteCheckCommand.h"

int main(int argc, char** argv) {
    if (const std::optional<int> answered = zk::answerCommandLine(argc, argv)) return *answered;
    if (const std::optional<int> checked = zk::runSiteCheckCommand(argc, argv)) return *checked;
    return zk::runProgram(argc, argv);
}
