#pragma once
// What the option tree tells its owner: the platform's notification header followed by the
// item concerned (null where the code allows it). Delivered synchronously on the GUI thread;
// a non-zero reply vetoes the codes that say so.
#include "platform/NotifyRecord.h"

class COptionTreeItemBase;

enum OptionTreeNotifyCode {
    NotifyItemInserted = -1101,     // after InsertItem linked the item
    NotifyItemDeleting = -1102,     // for the item passed to DeleteItem (null for all), then each descendant
    NotifyItemChanged = -1105,      // an edit was committed
    NotifyFocusChanged = -1107,     // the focused row changed; item is the new one or null
    NotifyItemExpanding = -1108,    // before the user expands or collapses; non-zero vetoes
    NotifyColumnDragStart = -1109,  // before a column drag; item is null; non-zero vetoes
    NotifyItemActivating = -1110,   // before a click opens the editor; non-zero vetoes
};

struct OptionTreeNotify : NMHDR {
    COptionTreeItemBase* item = nullptr;
};
