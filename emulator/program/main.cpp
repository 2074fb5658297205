// vindle-emulator: an emulated Vindle Module on a pseudo-terminal.

#include "PtyServer.h"
#include "core/CommandLine.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <system_error>

namespace {

std::atomic<bool> stopRequested{false};

void requestStop(int)
{
    stopRequested = true;
}

} // namespace

int main(int argc, char** argv)
{
    using namespace vindle::emulator;

    const ParsedCommandLine parsed = parseCommandLine({argv + 1, argv + argc});
    if (!parsed.options) {
        std::cerr << "vindle-emulator: " << parsed.error << '\n';
        return 2;
    }
    const ProgramOptions& options = *parsed.options;
    if (options.showHelp) {
        std::cout << usageText();
        return 0;
    }
    if (options.showVersion) {
        std::cout << "vindle-emulator " VINDLE_VERSION "\n";
        return 0;
    }

    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);
    std::signal(SIGHUP, requestStop);

    try {
        ModuleEmulator module(options.settings);
        PtyServer server(module);
        std::cout << server.devicePath() << std::endl;
        if (options.linkPath) {
            std::error_code ignored;
            std::filesystem::remove(*options.linkPath, ignored);
            std::filesystem::create_symlink(server.devicePath(), *options.linkPath);
            std::cout << "linked as " << *options.linkPath << std::endl;
        }
        server.serve(stopRequested);
        if (options.linkPath) {
            std::error_code ignored;
            std::filesystem::remove(*options.linkPath, ignored);
        }
        if (module.disconnected()) {
            std::cout << "disconnected" << std::endl;
        }
    } catch (const std::exception& error) {
        std::cerr << "vindle-emulator: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
