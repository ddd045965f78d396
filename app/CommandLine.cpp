#include "app/CommandLine.h"

#include "app/Texts.h"
#include "platform/Paths.h"

#include <cstdio>
#include <cstring>

namespace zk {

std::optional<int> answerCommandLine(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        QString answer;
        if (std::strcmp(argv[i], "--version") == 0) answer = texts::CommandVersion.arg(ZERKON_VERSION);
        else if (std::strcmp(argv[i], "--help") == 0) answer = texts::CommandHelp.arg(ZERKON_VERSION, paths::dataFolderPath());
        else continue;
        std::fputs(answer.toUtf8().constData(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    return std::nullopt;
}

} // namespace zk
