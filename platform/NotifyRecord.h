#pragma once
// The header every control notification starts with. A control fills it, appends its own
// fields (a derived struct) and hands it to its owner's handler synchronously, on the GUI
// thread; the handler's result goes back to the control, so an owner can veto by returning
// non-zero where the notification allows it.
#include "platform/WinTypes.h"

#include <functional>

class QObject;

struct NMHDR {
    QObject* hwndFrom = nullptr; // the sending control
    int idFrom = 0;              // its control id
    int code = 0;                // the notification code, negative by convention
};

// Stands in for the owner window's WM_NOTIFY handler: (control id, record) -> result.
using NotifyHandler = std::function<LRESULT(int controlId, NMHDR& header)>;

// Common-control codes shared by several controls.
constexpr int NM_CLICK = -2;
constexpr int NM_DBLCLK = -3;
constexpr int NM_RCLICK = -5;
