#pragma once

#include <sys/fsuid.h>
#include <unistd.h>

// File access as an ordinary user would have it while this lives: root reads and writes where a
// user may not, so a test run as root could not make an open fail by permissions alone.
class WithoutRootsFileRights {
public:
    WithoutRootsFileRights() : root_(geteuid() == 0) {
        if (root_)
            setfsuid(65534);
    }
    ~WithoutRootsFileRights() {
        if (root_)
            setfsuid(0);
    }
    WithoutRootsFileRights(const WithoutRootsFileRights&) = delete;
    WithoutRootsFileRights& operator=(const WithoutRootsFileRights&) = delete;

private:
    bool root_;
};
