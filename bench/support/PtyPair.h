#pragma once

#include <QString>
#include <cstdint>

namespace vindle::bench {

// A pseudo-terminal in raw mode whose slave side the program's serial port
// opens; the benchmark plays the other end of the line on the master side.
class PtyPair
{
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const QString& path() const { return path_; }
    int master() const { return master_; }
    void send(std::uint8_t byte) const;
    // Drops everything the program has sent so far.
    void drain() const;

private:
    int master_ = -1;
    int slave_ = -1;
    QString path_;
};

} // namespace vindle::bench
