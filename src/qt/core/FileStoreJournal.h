#pragma once

#include "link/StoreJournal.h"

#include <QString>

namespace vindle {

// The note of a store under way as a small file beside the port's lock (the
// system's lock directory, else the temporary one), named after the device
// the port reaches, so that every program on this computer that opens the
// same port finds it.
class FileStoreJournal final : public StoreJournal
{
public:
    // For the port opened by the name `device` (a link is followed).
    explicit FileStoreJournal(const QString& device);

    Earlier earlier() override;
    void storeBegins() override;
    void storeOver() override;

    const QString& path() const { return path_; }

private:
    QString path_;
};

} // namespace vindle
