#pragma once

#include "game/controllers/ControlFlags.hpp"

#include <memory>

namespace ironmoat::cmn {

class GameObject;

// What drives one tank: once per drawn frame `update` turns its input into
// the five command flags, which the tank reads on its ticks. The controller
// never moves or fires anything itself. The base's hooks do nothing.
class PlayerController {
public:
    PlayerController() = default;
    PlayerController(const PlayerController&) = delete;
    PlayerController& operator=(const PlayerController&) = delete;
    // Releases the driven object.
    virtual ~PlayerController();

    // Called whenever a tank is (re)attached: a new tank, or a surviving tank
    // moved to a new spawn point at a level start.
    virtual void onAttach();

    // Rewrites the flags from this frame's input; `hasFocus` tells whether the
    // game window is the foreground window.
    virtual void update(bool hasFocus);

    // Takes a share of the new object (releasing the previous one), then
    // calls `onAttach`.
    void setObject(std::shared_ptr<GameObject> object);
    // A copy of the stored pointer, dead or alive.
    std::shared_ptr<GameObject> getObject() const;
    // True when an object is stored and it is not marked dead.
    bool hasObject() const;

    // Reads of the command flags.
    bool isLeft() const { return m_flags.left.load(); }
    bool isRight() const { return m_flags.right.load(); }
    bool isUp() const { return m_flags.up.load(); }
    bool isDown() const { return m_flags.down.load(); }
    bool isFire() const { return m_flags.fire.load(); }

    // Store one flag; each returns the flag's previous value.
    bool setLeft(bool value) { return m_flags.left.exchange(value); }
    bool setRight(bool value) { return m_flags.right.exchange(value); }
    bool setUp(bool value) { return m_flags.up.exchange(value); }
    bool setDown(bool value) { return m_flags.down.exchange(value); }
    bool setFire(bool value) { return m_flags.fire.exchange(value); }

private:
    ControlFlags m_flags;
    std::shared_ptr<GameObject> m_object;
};

} // namespace ironmoat::cmn
