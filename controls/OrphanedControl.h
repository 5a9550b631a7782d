#pragma once
// Internal to the library: not part of the public headers.
#include <windef.h>

class CWnd;

// A platform control whose library object was deleted from inside one of the
// control's own notifications cannot be destroyed there: the platform is
// still running code of that control. It hides at once and is destroyed by
// a message posted to itself, taken up again later for as long as a
// notification is still running (one that pumps messages may deliver it
// early).
class OrphanedControl
{
public:
    static unsigned int DestroyMessage();
    // Hides the control and posts its destroy message.
    static void Orphan(HWND hWnd);
    // For the control's window procedure: true when message was the destroy
    // message of an orphan, which is then destroyed (nDepth 0) or posted again.
    static bool Handle(CWnd &rWnd, unsigned int nMessage, bool bOrphan, int nDepth);
};
