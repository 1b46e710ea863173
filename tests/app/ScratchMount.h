// A small tmpfs over a folder for the length of a test, to fill up or to make read-only.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <sched.h>
#include <sys/mount.h>

namespace tivla {

// Mounted in a mount namespace of this process alone, so a full disk and a read-only file
// system can be had (by root too, whom permissions don't stop) without touching the machine's
// own mounts. Without the right to mount, isMounted() is false and the caller skips.
class ScratchMount {
public:
    ScratchMount(const QString& folder, qint64 bytes) : where_(QFile::encodeName(folder)) {
        const QByteArray options = "size=" + QByteArray::number(bytes);
        mounted_ = privateNamespace() && ::mount("tivla-scratch", where_.constData(), "tmpfs", 0,
                                                 options.constData()) == 0;
    }
    ~ScratchMount() {
        if (mounted_) {
            ::umount2(where_.constData(), MNT_DETACH);
        }
    }
    ScratchMount(const ScratchMount&) = delete;
    ScratchMount& operator=(const ScratchMount&) = delete;

    bool isMounted() const { return mounted_; }
    bool makeReadOnly() {
        return ::mount(nullptr, where_.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

private:
    static bool privateNamespace() {
        // Private propagation keeps our mounts from reaching the namespace we came from.
        static const bool entered =
            ::unshare(CLONE_NEWNS) == 0 &&
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
        return entered;
    }

    QByteArray where_;
    bool mounted_ = false;
};

} // namespace tivla
