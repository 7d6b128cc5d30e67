#pragma once
// A controller made from SDL's virtual joystick, so tests press real buttons that go through SDL's
// game-controller mapping. Holds the joystick subsystem for its life. With `mapped` false it is a
// plain joystick that SDL has no game-controller mapping for.

#include <SDL.h>
#include <cstdint>
#include <gtest/gtest.h>

class VirtualGameController {
public:
    static constexpr uint16_t nintendo = 0x057e;
    static constexpr uint16_t switchPro = 0x2009;

    VirtualGameController(uint16_t vendor, uint16_t product, const char* name, bool mapped = true) {
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        EXPECT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = mapped ? SDL_JOYSTICK_TYPE_GAMECONTROLLER : SDL_JOYSTICK_TYPE_UNKNOWN;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.vendor_id = vendor;
        desc.product_id = product;
        desc.name = name;
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        EXPECT_GE(index, 0) << SDL_GetError();
        _joystick = SDL_JoystickOpen(index);
        EXPECT_NE(_joystick, nullptr) << SDL_GetError();
        _id = SDL_JoystickInstanceID(_joystick);
        // Triggers rest at the bottom of the axis range.
        setAxis(SDL_CONTROLLER_AXIS_TRIGGERLEFT, SDL_JOYSTICK_AXIS_MIN);
        setAxis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, SDL_JOYSTICK_AXIS_MIN);
    }

    ~VirtualGameController() {
        disconnect();
        SDL_JoystickClose(_joystick);
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    }

    VirtualGameController(const VirtualGameController&) = delete;
    VirtualGameController& operator=(const VirtualGameController&) = delete;

    // Joystick buttons are numbered as SDL's game-controller buttons.
    void setButton(SDL_GameControllerButton button, bool down) {
        EXPECT_EQ(SDL_JoystickSetVirtualButton(_joystick, button, down ? 1 : 0), 0);
    }
    // Raw joystick value: SDL_JOYSTICK_AXIS_MIN is a trigger at rest, MAX fully pulled.
    void setAxis(SDL_GameControllerAxis axis, Sint16 value) {
        EXPECT_EQ(SDL_JoystickSetVirtualAxis(_joystick, axis, value), 0);
    }

    void disconnect() {
        for (int index = 0; index < SDL_NumJoysticks(); ++index) {
            if (SDL_JoystickGetDeviceInstanceID(index) == _id) {
                EXPECT_EQ(SDL_JoystickDetachVirtual(index), 0) << SDL_GetError();
                return;
            }
        }
    }

private:
    SDL_Joystick* _joystick = nullptr;
    SDL_JoystickID _id = -1;
};
