#pragma once

#include "program/ModuleRun.h"
#include "program/ProcedureResults.h"

#include <cstdio>
#include <optional>
#include <string>

namespace vindle::cli {

// Progress on a terminal: a line at each step and, while a transfer runs, a
// bar that follows it, as wide as the terminal allows. Writes nothing when
// the stream is not a terminal. A run's messages go to the stream whatever
// it is, each on a line of its own.
class TerminalProgress final : public RunReporter
{
public:
    explicit TerminalProgress(std::FILE* stream);

    bool isActive() const { return active_; }
    // A transfer has started (no location yet) or reached `location`.
    void transfer(Transfer transfer, std::optional<int> location) override;
    // A line of its own, below a bar that is being drawn.
    void step(const std::string& line) override;
    void message(const std::string& text) override;
    // Ends a bar that is being drawn, so that other output starts on a line
    // of its own.
    void breakLine();

    // The bar's line for a terminal `columns` wide, without the carriage
    // return: never wider than the terminal less one column.
    static std::string barLine(Transfer transfer, std::optional<int> location, int columns);

private:
    int columns() const;

    std::FILE* stream_;
    bool active_;
    bool barDrawn_ = false;
};

} // namespace vindle::cli
