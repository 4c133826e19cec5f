#pragma once

#include <string>

namespace pyx::core {

// A calendar date and time with the fields of the POSIX broken-down time.
// Used by one thread at a time.
class Date {
public:
    // The current local date and time; valid and already normalized.
    Date();

    // The current local date and time (same as the default constructor).
    static Date now();

    // A date from raw fields (year since 1900, month 0..11, day 1..31). The
    // fields are checked on first use and carried over by the C library
    // (e.g. 31 September becomes 1 October) before formatting.
    static Date fromFields(int year, int month, int day, int hour, int minute, int second);

    // True when the fields pass the validity rule (calendar year from 1970,
    // fields in range; the month's length is not checked).
    bool isValid();

    // Carries out-of-range fields into the next one and fills weekday and
    // year day; asserts that the date is valid.
    void normalize();

    // strftime of the pattern; the empty string for an invalid date.
    std::string format(const std::string& pattern);

    int second() const { return m_second; }
    int minute() const { return m_minute; }
    int hour() const { return m_hour; }
    int day() const { return m_day; }
    int month() const { return m_month; }
    int year() const { return m_year; }
    int weekday() const { return m_weekday; }
    int yearDay() const { return m_yearDay; }

private:
    struct RawTag {};
    explicit Date(RawTag) {}

    int m_second = 0;
    int m_minute = 0;
    int m_hour = 0;
    int m_day = 1;
    int m_month = 0;
    int m_year = 70;
    int m_weekday = 0;
    int m_yearDay = 0;
    int m_daylightSaving = -1;
    bool m_valid = false;
    bool m_validityStale = true;
    bool m_normalizePending = true;
};

} // namespace pyx::core
