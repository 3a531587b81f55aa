#pragma once
// What starts a show: the loader of the main window. The history and the item-opening rules talk
// to it through this interface so they can be tested without a thread.
#include "explorer/browser/ShowOrder.h"

namespace qb::browser {

class ShowStarter {
public:
    virtual ~ShowStarter() = default;
    // Makes the order the pending one and starts the job (stopping a running one first).
    virtual void startShow(ShowOrder order) = 0;
};

} // namespace qb::browser
