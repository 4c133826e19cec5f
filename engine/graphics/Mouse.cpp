#include "engine/graphics/Mouse.hpp"

#include "engine/core/Assert.hpp"
#include "engine/graphics/Camera.hpp"
#include "engine/platform/MousePlatform.hpp"

#include <array>
#include <chrono>

namespace pyx::gfx {

namespace {

std::int64_t steadyMicroseconds() {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

Mouse::Mouse(std::shared_ptr<Camera> camera, Clock clock)
    : m_refCamera(std::move(camera)),
      m_clock(clock ? std::move(clock) : Clock(steadyMicroseconds)) {
    const auto& _refCamera = m_refCamera;
    PYX_ASSERT(_refCamera);
    const std::int64_t now = m_clock();
    for (auto* records : {&m_frameRecords, &m_liveRecords})
        for (ButtonRecord& r : *records) {
            r = ButtonRecord();
            r.eventTime = now;
        }
    m_cursorPosition = wrp::MousePlatform::cursorPosition();
    m_previousCursorPosition = m_cursorPosition;
}

int Mouse::recordIndex(int button) {
    return button >= 0 && button < Spare ? button : Spare;
}

bool Mouse::isForeground() const {
    return wrp::MousePlatform::isForeground(*m_refCamera->getWindow());
}

bool Mouse::countEvent(const sf::Event& event) {
    switch (event.type) {
    case sf::Event::MouseButtonPressed:
        if (!isForeground())
            return false;
        ++m_liveRecords[static_cast<unsigned>(recordIndex(event.mouseButton.button))].presses;
        return true;
    case sf::Event::MouseButtonReleased:
        if (!isForeground())
            return false;
        ++m_liveRecords[static_cast<unsigned>(recordIndex(event.mouseButton.button))].releases;
        return true;
    case sf::Event::MouseWheelMoved: {
        if (!isForeground())
            return false;
        ButtonRecord& middle = m_liveRecords[Middle];
        middle.wheelDelta += event.mouseWheel.delta;
        if (event.mouseWheel.delta != 0)
            middle.wheelSteps += event.mouseWheel.delta > 0 ? 1 : -1;
        return true;
    }
    default:
        return false;
    }
}

sf::Vector2f Mouse::toGuiPosition(sf::Vector2i screen) const {
    const sf::Vector2i client =
        wrp::MousePlatform::screenToClient(*m_refCamera->getWindow(), screen);
    return m_refCamera->mapPixelToWorld(client);
}

void Mouse::update() {
    update(wrp::MousePlatform::cursorPosition());
}

void Mouse::update(sf::Vector2i cursorScreenPosition) {
    m_previousCursorPosition = m_cursorPosition;
    m_cursorPosition = cursorScreenPosition;
    m_pixelDelta = m_cursorPosition - m_previousCursorPosition;
    m_guiDelta = toGuiPosition(m_cursorPosition) - toGuiPosition(m_previousCursorPosition);

    const std::int64_t now = m_clock();
    // One question to the system for the three buttons.
    const std::array<bool, 3> held = wrp::MousePlatform::buttonsDown(*m_refCamera->getWindow());
    for (int button : {Left, Middle, Right}) {
        ButtonRecord& frame = m_frameRecords[static_cast<unsigned>(button)];
        ButtonRecord& live = m_liveRecords[static_cast<unsigned>(button)];
        frame.presses = live.presses;
        frame.releases = live.releases;
        frame.wheelDelta = live.wheelDelta;
        frame.wheelSteps = live.wheelSteps;
        live.presses = live.releases = 0;
        live.wheelDelta = live.wheelSteps = 0;
        frame.down = live.down;
        live.down = held[static_cast<unsigned>(button)];
        clickBookkeeping(button, now);
    }
}

void Mouse::clickBookkeeping(int button, std::int64_t now) {
    const auto index = static_cast<unsigned>(button);
    ButtonRecord& frame = m_frameRecords[index];
    ButtonRecord& live = m_liveRecords[index];
    const std::int64_t window = static_cast<std::int64_t>(m_doubleClickTime) * 1000;

    m_clicked[index] = false;
    live.sinceEvent = now - live.eventTime;
    if (live.sinceEvent >= window)
        live.clickCount = 0;
    if (!changed(button))
        return;

    frame.eventPosition = live.eventPosition;
    frame.eventGuiPosition = live.eventGuiPosition;
    live.eventPosition = m_cursorPosition;
    live.eventGuiPosition = toGuiPosition(m_cursorPosition);
    frame.sinceEvent = live.sinceEvent;
    live.eventTime = now;

    // A release soon after the previous change completes a click even when
    // the press was counted in an earlier frame.
    const bool quick = frame.sinceEvent < window && frame.down && !live.down;
    const std::uint32_t n = frame.presses + frame.releases;
    bool click;
    if (n == 2)
        click = !(live.down || frame.presses > 0) || frame.releases > 0 || quick;
    else
        click = n >= 3 || quick;
    if (click) {
        ++live.clickCount;
        m_clicked[index] = true;
    }
}

bool Mouse::changed(int button) const {
    const auto i = static_cast<unsigned>(recordIndex(button));
    const ButtonRecord& frame = m_frameRecords[i];
    return m_liveRecords[i].down != frame.down || frame.presses > 0 || frame.releases > 0;
}

bool Mouse::wentDown(int button) const {
    const auto i = static_cast<unsigned>(recordIndex(button));
    return changed(button) && (m_liveRecords[i].down || m_frameRecords[i].presses > 0);
}

bool Mouse::wentUp(int button) const {
    const auto i = static_cast<unsigned>(recordIndex(button));
    const ButtonRecord& frame = m_frameRecords[i];
    return changed(button) &&
           ((!m_liveRecords[i].down && frame.presses == 0) || frame.releases > 0);
}

bool Mouse::upOrReleased(int button) const {
    const auto i = static_cast<unsigned>(recordIndex(button));
    const ButtonRecord& frame = m_frameRecords[i];
    return !(m_liveRecords[i].down || frame.presses > 0) || frame.releases > 0;
}

bool Mouse::pressedAndReleased(int button) const {
    const ButtonRecord& frame = m_frameRecords[static_cast<unsigned>(recordIndex(button))];
    return frame.presses > 0 && frame.releases > 0;
}

bool Mouse::clicked(int button) const {
    return m_clicked[static_cast<unsigned>(recordIndex(button))];
}

bool Mouse::buttonDown(int button) const {
    return m_liveRecords[static_cast<unsigned>(recordIndex(button))].down;
}

bool Mouse::buttonWasDown(int button) const {
    return m_frameRecords[static_cast<unsigned>(recordIndex(button))].down;
}

int Mouse::clickCount(int button) const {
    return m_liveRecords[static_cast<unsigned>(recordIndex(button))].clickCount;
}

const ButtonRecord& Mouse::frameRecord(int button) const {
    return m_frameRecords[static_cast<unsigned>(recordIndex(button))];
}

const ButtonRecord& Mouse::liveRecord(int button) const {
    return m_liveRecords[static_cast<unsigned>(recordIndex(button))];
}

sf::Vector2f Mouse::getPosition() const {
    return toGuiPosition(m_cursorPosition);
}

sf::Vector2f Mouse::getPreviousPosition() const {
    return toGuiPosition(m_previousCursorPosition);
}

} // namespace pyx::gfx
