// Process entry: the command line's own answers, else the program.
#include "app/CommandLine.h"
#include "app/Program.h"

int main(int argc, char** argv) {
    if (const std::optional<int> answered = zk::answerCommandLine(argc, argv)) return *answered;
    return zk::runProgram(argc, argv);
}
