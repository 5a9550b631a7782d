#pragma once
// Why a file-system operation or a status read failed.
#include "frame/Kestrel5Api.h"

enum FSysError
{
    FSysErrNone = 0,
    FSysErrAlreadyExists = 1,
    FSysErrNotExists = 2,    // the file, or a folder on its path, is missing
    FSysErrAccessDenied = 3,
    FSysErrLocked = 4,       // another opener holds the file without sharing it
    FSysErrNotADirectory = 5,
    FSysErrNotEmpty = 6,
    FSysErrInvalidDevice = 7,
    FSysErrInvalidName = 8,
    FSysErrNameTooLong = 9,
    FSysErrDiskFull = 10,
    FSysErrNotSupported = 11,
    FSysErrBadArgument = 12,
    FSysErrMisplacedChar = 13, // a wildcard or ';' where one file is meant
    FSysErrUnknown = 14        // nothing read yet, or a reason not listed here
};

// The error a platform error code (GetLastError) stands for.
KSAPI FSysError FSysErrorFromPlatform(unsigned long code);
