#include "engine/core/Date.hpp"

#include "engine/core/Assert.hpp"

#include <ctime>

namespace pyx::core {

namespace {

std::tm toTm(int second, int minute, int hour, int day, int month, int year, int weekday,
             int yearDay, int dst) {
    std::tm t{};
    t.tm_sec = second;
    t.tm_min = minute;
    t.tm_hour = hour;
    t.tm_mday = day;
    t.tm_mon = month;
    t.tm_year = year;
    t.tm_wday = weekday;
    t.tm_yday = yearDay;
    t.tm_isdst = dst;
    return t;
}

} // namespace

Date::Date() {
    // The C library's own local-time breakdown is used rather than adding a
    // whole-hour zone offset to UTC, which gave the wrong clock time in zones
    // such as UTC+5:30 or UTC+9:45.
    const std::time_t t = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &t);
#else
    localtime_r(&t, &local);
#endif
    m_second = local.tm_sec;
    m_minute = local.tm_min;
    m_hour = local.tm_hour;
    m_day = local.tm_mday;
    m_month = local.tm_mon;
    m_year = local.tm_year;
    m_weekday = local.tm_wday;
    m_yearDay = local.tm_yday;
    m_daylightSaving = local.tm_isdst;
    m_valid = true;
    m_validityStale = false;
    m_normalizePending = false;
}

Date Date::now() {
    return Date();
}

Date Date::fromFields(int year, int month, int day, int hour, int minute, int second) {
    Date d{RawTag{}};
    d.m_year = year;
    d.m_month = month;
    d.m_day = day;
    d.m_hour = hour;
    d.m_minute = minute;
    d.m_second = second;
    return d;
}

bool Date::isValid() {
    if (m_validityStale) {
        // The year is compared as a signed number: a year before 0 is not
        // a huge one, and no sum with 1900 can overflow.
        m_valid = m_year >= 1970 - 1900 && static_cast<unsigned>(m_month) <= 11u &&
                  static_cast<unsigned>(m_day - 1) <= 30u && static_cast<unsigned>(m_hour) <= 23u &&
                  static_cast<unsigned>(m_minute) <= 59u && static_cast<unsigned>(m_second) <= 59u;
        m_validityStale = false;
    }
    return m_valid;
}

void Date::normalize() {
    if (!m_normalizePending) {
        return;
    }
    PYX_ASSERT(isValid());
    m_normalizePending = false;
    std::tm t = toTm(m_second, m_minute, m_hour, m_day, m_month, m_year, m_weekday, m_yearDay,
                     m_daylightSaving);
    std::mktime(&t);
    m_second = t.tm_sec;
    m_minute = t.tm_min;
    m_hour = t.tm_hour;
    m_day = t.tm_mday;
    m_month = t.tm_mon;
    m_year = t.tm_year;
    m_weekday = t.tm_wday;
    m_yearDay = t.tm_yday;
    m_daylightSaving = t.tm_isdst;
}

std::string Date::format(const std::string& pattern) {
    if (!isValid()) {
        return std::string();
    }
    normalize();
    const std::tm t = toTm(m_second, m_minute, m_hour, m_day, m_month, m_year, m_weekday, m_yearDay,
                           m_daylightSaving);
    char buffer[1024];
    const std::size_t n = std::strftime(buffer, sizeof buffer, pattern.c_str(), &t);
    return std::string(buffer, n);
}

} // namespace pyx::core
