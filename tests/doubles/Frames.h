// The value of a getFrames call, read as a client reads it, and cleared at
// the end.
#pragma once
#include <oleauto.h>

#include <gtest/gtest.h>

namespace doubles {

struct Frames {
    VARIANT value;
    Frames() { VariantInit(&value); }
    ~Frames() { VariantClear(&value); }
    Frames(const Frames&) = delete;
    Frames& operator=(const Frames&) = delete;

    LONG Count() const
    {
        LONG upper = -1;
        SafeArrayGetUBound(value.parray, 1, &upper);
        return upper + 1;
    }
    // The document at `index`, without a reference of its own: the array
    // holds it for as long as the value lives.
    IDispatch* DocumentAt(LONG index) const
    {
        VARIANT element;
        VariantInit(&element);
        EXPECT_EQ(S_OK, SafeArrayGetElement(value.parray, &index, &element));
        IDispatch* document = element.vt == VT_DISPATCH ? element.pdispVal : nullptr;
        VariantClear(&element);
        return document;
    }
};

}  // namespace doubles
