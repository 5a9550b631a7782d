#pragma once
// The library's result enumeration. 0 is success; operations that can only
// succeed still answer it so that their callers need not change when they
// one day can fail.
enum ERRCODE
{
    ERRCODE_OK = 0,
    ERRCODE_FAILED = 1,          // general failure
    ERRCODE_HANDLE_NOT_KEPT = 13 // an image file was read but its handle could not be kept
};
