#pragma once

// A second base with nothing but a virtual destructor, so that a graph user can be
// deleted through a CVideoSource pointer.
class CVideoSource {
public:
    virtual ~CVideoSource() = default;
};
