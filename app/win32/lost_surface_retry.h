#pragma once

namespace kz {

// Runs a drawing operation; when it reports that a surface was lost, restores the surfaces
// once and runs it again. A failure after the restore, or a failed restore, is final: the
// caller treats it as a paint failure rather than trying forever.
// attempt() and restore() return the platform status; lostStatus is the "surface lost" code.
template <class Status, class Attempt, class Restore>
Status retryAfterRestore(Attempt&& attempt, Restore&& restore, Status lostStatus) {
    Status status = attempt();
    if (status != lostStatus) {
        return status;
    }
    if (!restore()) {
        return status;
    }
    return attempt();
}

}  // namespace kz
