#include "EmbeddedEmulator.h"

#include <cstdio>
#include <exception>

namespace vindle {

namespace {

emulator::EmulatorSettings lineSettings()
{
    emulator::EmulatorSettings settings;
    settings.bitRate = 38400;
    return settings;
}

} // namespace

EmbeddedEmulator::EmbeddedEmulator()
    : module_(lineSettings()), server_(module_), thread_([this] {
          try {
              server_.serve(stop_);
          } catch (const std::exception& error) {
              std::fprintf(stderr, "emulated module stopped: %s\n", error.what());
          }
      })
{}

EmbeddedEmulator::~EmbeddedEmulator()
{
    stop_ = true;
    thread_.join();
}

} // namespace vindle
