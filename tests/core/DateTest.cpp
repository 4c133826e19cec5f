#include "engine/core/Date.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <limits>
#include <string>

using pyx::core::Date;

namespace {

// Sets the process's time zone for one test and restores it afterwards.
class ZoneGuard {
public:
    explicit ZoneGuard(const char* zone) {
        if (const char* old = std::getenv("TZ")) {
            m_had = true;
            m_old = old;
        }
        setZone(zone);
    }
    ~ZoneGuard() { setZone(m_had ? m_old.c_str() : nullptr); }

private:
    // The C runtime of Windows reads the same "name offset" form of TZ,
    // through its own calls.
    static void setZone(const char* zone) {
#ifdef _WIN32
        _putenv_s("TZ", zone ? zone : "");
        _tzset();
#else
        if (zone) {
            setenv("TZ", zone, 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
#endif
    }

    bool m_had = false;
    std::string m_old;
};

std::string localNow(const char* pattern, std::time_t t) {
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &t);
#else
    localtime_r(&t, &local);
#endif
    char buffer[128];
    return std::string(buffer, std::strftime(buffer, sizeof buffer, pattern, &local));
}

// Formats Date::now() and the C library's local time of the same second;
// retried when the second turned over in between.
void expectNowMatchesLocalTime() {
    for (int attempt = 0; attempt < 5; ++attempt) {
        const std::time_t before = std::time(nullptr);
        Date now;
        const std::time_t after = std::time(nullptr);
        if (before != after) {
            continue;
        }
        EXPECT_TRUE(now.isValid());
        EXPECT_EQ(now.format("%Y-%m-%d %H:%M:%S %a"), localNow("%Y-%m-%d %H:%M:%S %a", before));
        return;
    }
    FAIL() << "the clock kept moving to a new second";
}

} // namespace

TEST(CoreDate, FormatsTheLogFileName) {
    Date d = Date::fromFields(118, 7, 5, 11, 33, 55);
    EXPECT_EQ(d.format("pyx_%y%m%d_%H%M%S"), "pyx_180805_113355");
    EXPECT_EQ(d.weekday(), 0) << "5 August 2018 was a Sunday, filled in by normalization";
    EXPECT_EQ(d.yearDay(), 216);
}

TEST(CoreDate, NormalizationCarriesDaysIntoTheNextMonth) {
    // 31 September passes the validity rule (month lengths are not checked)
    // and is carried over to 1 October.
    Date d = Date::fromFields(118, 8, 31, 12, 0, 0);
    EXPECT_EQ(d.format("%Y-%m-%d"), "2018-10-01");
    EXPECT_EQ(d.month(), 9);
    EXPECT_EQ(d.day(), 1);
}

TEST(CoreDate, InvalidFieldsFormatAsEmpty) {
    EXPECT_FALSE(Date::fromFields(69, 11, 31, 23, 59, 59).isValid()) << "before 1970";
    // Calendar years 0, -1 and far below: the year counts as a signed number.
    for (int year : {-1900, -1901, -3871, -2000000, std::numeric_limits<int>::min()}) {
        Date old = Date::fromFields(year, 0, 1, 0, 0, 0);
        EXPECT_FALSE(old.isValid()) << year;
        EXPECT_EQ(old.format("%Y"), "") << year;
    }
    EXPECT_TRUE(Date::fromFields(std::numeric_limits<int>::max(), 0, 1, 0, 0, 0).isValid());
    EXPECT_TRUE(Date::fromFields(70, 0, 1, 0, 0, 0).isValid());
    EXPECT_FALSE(Date::fromFields(118, 12, 1, 0, 0, 0).isValid());
    EXPECT_FALSE(Date::fromFields(118, -1, 1, 0, 0, 0).isValid());
    EXPECT_FALSE(Date::fromFields(118, 0, 0, 0, 0, 0).isValid());
    EXPECT_FALSE(Date::fromFields(118, 0, 32, 0, 0, 0).isValid());
    EXPECT_FALSE(Date::fromFields(118, 0, 1, 24, 0, 0).isValid());
    EXPECT_FALSE(Date::fromFields(118, 0, 1, 0, -1, 0).isValid());
    EXPECT_FALSE(Date::fromFields(118, 0, 1, 0, 0, 60).isValid());
    Date bad = Date::fromFields(118, 0, 1, 0, 0, 60);
    EXPECT_EQ(bad.format("pyx_%y%m%d_%H%M%S"), "");
}

TEST(CoreDate, NowIsTheLocalTimeInWholeAndPartHourZones) {
    {
        ZoneGuard zone("UTC0");
        expectNowMatchesLocalTime();
    }
    {
        ZoneGuard zone("XYZ-5:30"); // five and a half hours east of UTC
        expectNowMatchesLocalTime();
    }
    {
        ZoneGuard zone("ABC+3:15");
        expectNowMatchesLocalTime();
    }
}

TEST(CoreDateDeathTest, NormalizingAnInvalidDateIsFatal) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Date bad = Date::fromFields(118, 0, 1, 25, 0, 0);
    EXPECT_DEATH(bad.normalize(), "Assertion failed: isValid\\(\\)");
}
