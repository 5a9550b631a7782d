#pragma once
#include "frame/Kestrel5Api.h"

// The base of an application's handlers for menu selection: a window that
// is told which menu item the user is on passes it to such a handler.
class KSAPI MenuSelectHandler
{
public:
    MenuSelectHandler() = default;
    MenuSelectHandler(MenuSelectHandler const &) = default;
    MenuSelectHandler(MenuSelectHandler &&) noexcept = default;
    MenuSelectHandler &operator=(MenuSelectHandler const &) = default;
    MenuSelectHandler &operator=(MenuSelectHandler &&) noexcept = default;
    virtual ~MenuSelectHandler() = default;
};
