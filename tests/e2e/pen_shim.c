/* Preloaded into the tests' Xorg server: answers the evdev ioctls on a FIFO as a pen tablet's device node would,
 * so that Xorg's evdev driver reads a pen from it. xorg_pen.py compiles it with the pen's name and axes defined. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <linux/input.h>
#include <stdarg.h>
#include <string.h>
#include <sys/stat.h>

static int fill_bits(unsigned type, unsigned char *bits, unsigned size)
{
    static const int types[] = {EV_SYN, EV_KEY, EV_ABS, -1}, none[] = {-1},
                     keys[] = {BTN_TOOL_PEN, BTN_TOUCH, BTN_STYLUS, BTN_STYLUS2, -1},
                     axes[] = {ABS_X, ABS_Y, ABS_PRESSURE, ABS_TILT_X, ABS_TILT_Y, -1};
    const int *codes = type == 0 ? types : type == EV_KEY ? keys : type == EV_ABS ? axes : none;
    memset(bits, 0, size);
    for (; *codes >= 0; codes++)
        if ((unsigned)*codes / 8 < size)
            bits[*codes / 8] |= 1 << (*codes % 8);
    return size;
}

static int fill_axis(unsigned code, struct input_absinfo *axis)
{
    memset(axis, 0, sizeof *axis);
    switch (code) {
    case ABS_X: axis->maximum = PEN_X_MAX; axis->resolution = PEN_RESOLUTION; return 0;
    case ABS_Y: axis->maximum = PEN_Y_MAX; axis->resolution = PEN_RESOLUTION; return 0;
    case ABS_PRESSURE: axis->maximum = PEN_PRESSURE_MAX; return 0;
    case ABS_TILT_X: case ABS_TILT_Y: axis->minimum = -PEN_TILT_MAX; axis->maximum = PEN_TILT_MAX; return 0;
    default: errno = EINVAL; return -1;
    }
}

/* The kernel's answers, by request number (the EVIOC* macros of linux/input.h). */
static int answer(unsigned long request, void *arg)
{
    unsigned number = _IOC_NR(request), size = _IOC_SIZE(request);
    if (number >= 0x20 && number < 0x40) /* EVIOCGBIT(type) */
        return fill_bits(number - 0x20, arg, size);
    if (number >= 0x40 && number < 0x80) /* EVIOCGABS(axis) */
        return fill_axis(number - 0x40, arg);
    switch (number) {
    case 0x01: *(int *)arg = EV_VERSION; return 0;
    case 0x02: *(struct input_id *)arg = (struct input_id){BUS_USB, 0x1234, 0x5678, 1}; return 0;
    case 0x06: /* EVIOCGNAME: the bytes copied, with the terminator */
        strncpy(arg, PEN_NAME, size);
        return sizeof PEN_NAME < size ? sizeof PEN_NAME : size;
    case 0x07: case 0x08: errno = ENOENT; return -1; /* no physical path, no unique id */
    case 0x09: case 0x18: case 0x19: case 0x1a: case 0x1b: /* properties; key, LED, sound, switch state */
        memset(arg, 0, size);
        return size;
    case 0x90: return 0; /* EVIOCGRAB */
    default: errno = EINVAL; return -1;
    }
}

int ioctl(int fd, unsigned long request, ...)
{
    struct stat status;
    va_list args;
    va_start(args, request);
    void *arg = va_arg(args, void *);
    va_end(args);
    if (_IOC_TYPE(request) == 'E' && fstat(fd, &status) == 0 && S_ISFIFO(status.st_mode))
        return answer(request, arg);
    return ((int (*)(int, unsigned long, void *))dlsym(RTLD_NEXT, "ioctl"))(fd, request, arg);
}
