#pragma once
// Where the history reads how many back points it may keep (the General settings group's
// MaxBackupPoints). Asked on every use, so a changed option applies at once.
#include <optional>

namespace qb::browser {

class BackupPointsBound {
public:
    virtual ~BackupPointsBound() = default;
    // The configured bound, or nothing when it cannot be obtained.
    virtual std::optional<int> maxBackupPoints() const = 0;
};

} // namespace qb::browser
