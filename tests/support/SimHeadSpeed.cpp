// Kept apart from SimHead.cpp: the kernel's termios2 and <termios.h> cannot share a file.
#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace testsupport {

int terminalSpeed(int fd) {
    struct termios2 t;
    if (ioctl(fd, TCGETS2, &t) != 0) return -1;
    return static_cast<int>(t.c_ospeed);
}

}  // namespace testsupport
