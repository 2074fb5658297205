#pragma once

namespace vindle::bench {

// Settings of a benchmark run, from vindle_bench's own command-line options.
struct BenchOptions
{
    // How long the data monitor takes the continuous stream (--stream-seconds).
    double streamSeconds = 30.0;
    // How long the data monitor captures that stream with time stamps shown
    // (--capture-seconds).
    double captureSeconds = 60.0;
    // How long the data monitor waits with no data (--idle-seconds).
    double idleSeconds = 10.0;

    static BenchOptions& current()
    {
        static BenchOptions options;
        return options;
    }
};

} // namespace vindle::bench
