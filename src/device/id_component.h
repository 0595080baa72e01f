#pragma once
// Base of every network object. The objects share one socket stack: the first
// one created starts it, the last one destroyed stops it.

namespace hoofer {

class TIdComponent {
public:
    TIdComponent();
    virtual ~TIdComponent();
    TIdComponent(const TIdComponent &) = delete;
    TIdComponent &operator=(const TIdComponent &) = delete;
};

} // namespace hoofer
