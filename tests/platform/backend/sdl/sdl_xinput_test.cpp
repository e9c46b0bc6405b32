#include "backend/sdl/sdl_xinput.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

// Devices as the X server described them on real machines: name, tool-type property, direct touch.
TEST(XInputSources, RecordedDevicesAreToldApart) {
    const struct {
        XPointerDevice device;
        PointerSource source;
    } recorded[] = {
        // A tablet under its vendor's driver: one device per tool, the tool type set.
        {{"Wacom Intuos S Pen stylus", "STYLUS", false}, PointerSource::Pen},
        {{"Wacom Intuos S Pen eraser", "ERASER", false}, PointerSource::Eraser},
        {{"Wacom Intuos S Pad pad", "PAD", false}, PointerSource::Mouse},
        // The same tablet's touch surface is a touchpad, which moves a pointer.
        {{"Wacom Intuos S Finger touch", "TOUCH", false}, PointerSource::Mouse},
        // A tablet PC's screen: the tool type says touch and the touch is direct.
        {{"Wacom HID 48EB Finger", "TOUCH", true}, PointerSource::Touch},
        // Under the generic driver there is no tool type, only the names.
        {{"Wacom One by Wacom S Pen (0x8a1d0b47)", "", false}, PointerSource::Pen},
        {{"HUION Huion Tablet_H640P Pen", "", false}, PointerSource::Pen},
        {{"UGTABLET 10 inch PenTablet Eraser (0)", "", false}, PointerSource::Eraser},
        {{"ELAN2514:00 04F3:2A7E", "", true}, PointerSource::Touch},
        {{"SynPS/2 Synaptics TouchPad", "", false}, PointerSource::Mouse},
        {{"Logitech USB Optical Mouse", "", false}, PointerSource::Mouse},
        {{"Virtual core XTEST pointer", "", false}, PointerSource::Mouse},
        // A word that merely starts like one is no pen.
        {{"PenMount USB", "", false}, PointerSource::Mouse},
    };
    for (const auto& r : recorded) EXPECT_EQ(classify_pointer_device(r.device), r.source) << r.device.name;
}

}  // namespace
}  // namespace platform
