#pragma once
// Why a port operation failed: the system's own error number and what it means to the
// installer. The operating-system layer decides the cause where the call failed, since the same
// number can mean different things at different calls (ENXIO at an open: no such device; at a
// read: the adapter was pulled out).

enum class TPortCause {
    NotPresent,    // no device by that name
    NoPermission,  // the device is there, the user may not open it
    HeldElsewhere, // another program has it
    DeviceGone,    // it went away while open
    Other,
};

struct TSerialFault {
    int number = 0; // errno on POSIX, GetLastError() on Windows; 0: no failure
    TPortCause cause = TPortCause::Other;
    explicit operator bool() const { return number != 0; }
};

// The component's own failures that no system call reports, each in the system's numbers.
enum class TLineFailure {
    NotOpen,    // an operation on a closed port
    Gone,       // a write while the device is away
    BadSetting, // a setting the system cannot take
    NoSuchPort, // a port name that names no device
};
TSerialFault Fault_Of(TLineFailure failure);
