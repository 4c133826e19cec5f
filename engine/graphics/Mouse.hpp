#pragma once

#include <SFML/System/Vector2.hpp>
#include <SFML/Window/Event.hpp>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

namespace pyx::gfx {

class Camera;

// What happened to one mouse button between two updates, or at one update.
struct ButtonRecord {
    std::uint32_t presses = 0;
    std::uint32_t releases = 0;
    std::int32_t wheelDelta = 0; // middle button only
    std::int32_t wheelSteps = 0; // middle button only
    bool down = false;           // live: held now; frame: held at the previous update
    sf::Vector2i eventPosition;
    sf::Vector2f eventGuiPosition;
    std::int64_t sinceEvent = 0; // microseconds between state changes
    std::int64_t eventTime = 0;  // microseconds, clock time of the last change
    std::int32_t clickCount = 0;
};

// The mouse of one render window, frame by frame. Press, release and wheel
// events are counted between updates beside the polled button state, so a
// press and release within one frame is still seen. The GUI reads the
// frame's records through the queries; positions come in screen pixels and
// in GUI coordinates (window client pixels mapped through the camera).
//
// Buttons use the codes of sf::Mouse::Button: 0 left, 1 right, 2 middle;
// events of other buttons go to a spare record (3) that is never updated.
class Mouse {
public:
    static constexpr int Left = 0, Right = 1, Middle = 2, Spare = 3;
    // Microseconds of a monotonic clock.
    using Clock = std::function<std::int64_t()>;

    // Binds to the camera (must not be empty) and reads the cursor once.
    // Without a clock a steady system clock is used; tests pass their own.
    explicit Mouse(std::shared_ptr<Camera> camera, Clock clock = {});

    // Counts a button or wheel event while the window has focus; true when
    // it was one of those and was counted.
    bool countEvent(const sf::Event& event);
    // Opens a new frame with the cursor at this screen position.
    void update(sf::Vector2i cursorScreenPosition);
    // Opens a new frame with the cursor read from the system.
    void update();

    // Per-button queries on the frame being processed.
    bool changed(int button) const;
    bool wentDown(int button) const;
    bool wentUp(int button) const;
    bool upOrReleased(int button) const;
    bool pressedAndReleased(int button) const;
    // The frame completed a click (a release soon after a press, or a press
    // and release both counted in the frame).
    bool clicked(int button) const;
    bool buttonDown(int button) const;
    bool buttonWasDown(int button) const;
    // Consecutive clicks within the double-click time.
    int clickCount(int button) const;
    const ButtonRecord& frameRecord(int button) const;
    const ButtonRecord& liveRecord(int button) const;

    // The cursor in GUI coordinates now and at the previous update.
    sf::Vector2f getPosition() const;
    sf::Vector2f getPreviousPosition() const;
    sf::Vector2i getCursorPosition() const { return m_cursorPosition; }
    sf::Vector2i getPreviousCursorPosition() const { return m_previousCursorPosition; }
    sf::Vector2i getPixelDelta() const { return m_pixelDelta; }
    sf::Vector2f getGuiDelta() const { return m_guiDelta; }
    // A screen position in GUI coordinates.
    sf::Vector2f toGuiPosition(sf::Vector2i screen) const;
    const std::shared_ptr<Camera>& getCamera() const { return m_refCamera; }

    int getDoubleClickTime() const { return m_doubleClickTime; }
    void setDoubleClickTime(int milliseconds) { m_doubleClickTime = milliseconds; }

private:
    static int recordIndex(int button);
    bool isForeground() const;
    void clickBookkeeping(int button, std::int64_t now);

    sf::Vector2i m_previousCursorPosition;
    sf::Vector2i m_cursorPosition;
    std::shared_ptr<Camera> m_refCamera;
    sf::Vector2i m_pixelDelta;
    sf::Vector2f m_guiDelta;
    std::array<ButtonRecord, 4> m_frameRecords;
    std::array<ButtonRecord, 4> m_liveRecords;
    std::array<bool, 4> m_clicked{};
    int m_doubleClickTime = 350;
    Clock m_clock;
};

} // namespace pyx::gfx
