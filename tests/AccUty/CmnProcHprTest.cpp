// DateFormatter against the host's era master: the era boundaries and year numbers checked
// against ICU's Japanese calendar, the texts against iconv, and the failure cases.
#include "AccUty/CmnProcHpr.h"

#include <gtest/gtest.h>
#include <unicode/calendar.h>
#include <unicode/gregocal.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/Faults.h"
#include "runtime/OrbeckRuntime.h"
#include "tests/aggregate/EngineHost.h"

namespace {

// Era name (UTF-8) and year within the era of a date, from ICU's Japanese calendar.
struct IcuEra {
  std::string name;
  int32_t year = 0;
};

class IcuJapaneseCalendar {
 public:
  IcuJapaneseCalendar() {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Locale locale("ja_JP@calendar=japanese");
    calendar_.reset(icu::Calendar::createInstance(icu::TimeZone::getGMT()->clone(), locale, status));
    gregorian_ = std::make_unique<icu::GregorianCalendar>(icu::TimeZone::getGMT()->clone(), status);
    eraFormat_ = std::make_unique<icu::SimpleDateFormat>(icu::UnicodeString("G"), locale, status);
    if (eraFormat_) eraFormat_->adoptCalendar(calendar_->clone());
    ok_ = U_SUCCESS(status);
  }

  bool ok() const { return ok_; }

  IcuEra Era(int32_t date) {
    UErrorCode status = U_ZERO_ERROR;
    gregorian_->clear();
    gregorian_->set(date / 10000, date / 100 % 100 - 1, date % 100, 12, 0, 0);
    const UDate when = gregorian_->getTime(status);
    calendar_->setTime(when, status);
    IcuEra era;
    era.year = calendar_->get(UCAL_YEAR, status);
    icu::UnicodeString name;
    eraFormat_->format(when, name);
    name.toUTF8String(era.name);
    return era;
  }

 private:
  std::unique_ptr<icu::Calendar> calendar_;
  std::unique_ptr<icu::GregorianCalendar> gregorian_;
  std::unique_ptr<icu::SimpleDateFormat> eraFormat_;
  bool ok_ = false;
};

// The next calendar day of a yyyymmdd date.
int32_t NextDay(int32_t date) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const int y = date / 10000;
  const int m = date / 100 % 100;
  const int d = date % 100;
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  const int length = m == 2 && leap ? 29 : kDays[m - 1];
  if (d < length) return date + 1;
  if (m < 12) return y * 10000 + (m + 1) * 100 + 1;
  return (y + 1) * 10000 + 101;
}

// Every day of the weeks around each era change since 1912, and the first and last day of
// each year.
std::vector<int32_t> EraChangeDates() {
  std::vector<int32_t> dates;
  for (int32_t tenDaysBefore : {19120720, 19261215, 19881229, 20190421}) {
    int32_t date = tenDaysBefore;
    for (int i = 0; i < 21; ++i, date = NextDay(date)) dates.push_back(date);
  }
  for (int year = 1913; year <= 2040; ++year) {
    dates.push_back(year * 10000 + 101);
    dates.push_back(year * 10000 + 1231);
  }
  return dates;
}

class DateFormatterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::faults::Clear();
    ASSERT_TRUE(host_.ok()) << host_.error();
  }
  void TearDown() override { platform::faults::Clear(); }

  EngineHost host_{BaseDocument()};
  DateFormatter formatter_{0};
};

TEST_F(DateFormatterTest, ReiwaBeginsOnTheFirstOfMayWithYearOne) {
  EXPECT_EQ(Cp932("平成31年4月30日"), formatter_.FormatDate(20190430, 0));
  EXPECT_EQ(Cp932("令和1年5月1日"), formatter_.FormatDate(20190501, 0));
  EXPECT_EQ(Cp932("令和1年12月31日"), formatter_.FormatDate(20191231, 0));
  EXPECT_EQ(Cp932("令和2年1月1日"), formatter_.FormatDate(20200101, 0));
  EXPECT_EQ(Cp932("平成1年1月8日"), formatter_.FormatDate(19890108, 0));
  EXPECT_EQ(Cp932("昭和64年1月7日"), formatter_.FormatDate(19890107, 0));
}

TEST_F(DateFormatterTest, AgreesWithIcuAcrossEveryEraChangeSince1912) {
  IcuJapaneseCalendar icu;
  ASSERT_TRUE(icu.ok());
  for (int32_t date : EraChangeDates()) {
    StGENGOINFO era{};
    int32_t year = 0;
    ASSERT_TRUE(formatter_.FindEra(date, era, year)) << date;
    const IcuEra expected = icu.Era(date);
    EXPECT_EQ(expected.year, year) << date;
    EXPECT_EQ(Cp932(expected.name), std::string(era.name)) << date;
    const std::string text = formatter_.FormatDate(date, 0);
    const std::string tail = std::to_string(year) + Cp932("年") + std::to_string(date / 100 % 100) +
                             Cp932("月") + std::to_string(date % 100) + Cp932("日");
    EXPECT_EQ(Cp932(expected.name) + tail, text) << date;
  }
}

TEST_F(DateFormatterTest, DateBeforeTheFirstEraIsEmptyWithoutError) {
  EXPECT_EQ("", formatter_.FormatDate(18680124, 0));
  EXPECT_EQ(0, ClMsgMgr::Inst().LastError());
  EXPECT_EQ(Cp932("明治1年1月25日"), formatter_.FormatDate(18680125, 0));
}

TEST_F(DateFormatterTest, LastFormattableDate) {
  EXPECT_EQ(Cp932("令和7981年12月31日"), formatter_.FormatDate(99991231, 0));
  EXPECT_EQ("", formatter_.FormatDate(99991232, 0));
  EXPECT_EQ("", formatter_.FormatDate(100000101, 0));
}

TEST(DateFormatterEraMaster, AnEraAddedToTheMasterIsHonoured) {
  nlohmann::json document = BaseDocument();
  document["eras"].push_back({{"no", 6}, {"firstDay", 20400215}, {"name", "新元"}});
  EngineHost host(document);
  ASSERT_TRUE(host.ok()) << host.error();
  const DateFormatter formatter(0);
  EXPECT_EQ(Cp932("令和22年2月14日"), formatter.FormatDate(20400214, 0));
  EXPECT_EQ(Cp932("新元1年2月15日"), formatter.FormatDate(20400215, 0));
  EXPECT_EQ(Cp932("新元2年1月1日"), formatter.FormatDate(20410101, 0));
}

// The host's numbers of its eras say nothing of their order: however the master numbers them
// and in whatever order the host data lists them, a date falls in the era with the latest
// first day not after it.
TEST(DateFormatterEraMaster, ErasAreTakenInTheOrderOfTheirFirstDaysWhateverTheirNumbers) {
  IcuJapaneseCalendar icu;
  ASSERT_TRUE(icu.ok());
  const struct {
    const char* arrangement;
    std::vector<int> numbers;  // the number of each era, oldest first
    std::vector<int> listed;   // the document's order, as indexes of the eras oldest first
  } cases[] = {
      {"numbered newest first", {5, 4, 3, 2, 1}, {0, 1, 2, 3, 4}},
      {"listed newest first", {1, 2, 3, 4, 5}, {4, 3, 2, 1, 0}},
      {"numbered and listed in neither order", {30, 10, 50, 20, 40}, {2, 4, 0, 3, 1}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arrangement);
    nlohmann::json document = BaseDocument();
    const nlohmann::json oldestFirst = document["eras"];
    document["eras"] = nlohmann::json::array();
    for (const int index : c.listed) {
      nlohmann::json era = oldestFirst[static_cast<std::size_t>(index)];
      era["no"] = c.numbers[static_cast<std::size_t>(index)];
      document["eras"].push_back(era);
    }
    EngineHost host(document);
    ASSERT_TRUE(host.ok()) << host.error();
    const DateFormatter formatter(0);
    for (const int32_t date : EraChangeDates()) {
      StGENGOINFO era{};
      int32_t year = 0;
      ASSERT_TRUE(formatter.FindEra(date, era, year)) << date;
      const IcuEra expected = icu.Era(date);
      EXPECT_EQ(expected.year, year) << date;
      EXPECT_EQ(Cp932(expected.name), std::string(era.name)) << date;
    }
  }
}

TEST_F(DateFormatterTest, OtherStylesAreEmpty) { EXPECT_EQ("", formatter_.FormatDate(20240401, 1)); }

TEST_F(DateFormatterTest, FailingEraWalkIsRecordedAndGivesEmptyText) {
  platform::faults::Set("ClSetGengo::Walk#2");
  EXPECT_EQ("", formatter_.FormatDate(20240401, 0));
  EXPECT_NE(0, ClMsgMgr::Inst().LastError());
  EXPECT_NE(std::string::npos, ClMsgMgr::Inst().LastErrorPlace().find("CmnProcHpr"))
      << ClMsgMgr::Inst().LastErrorPlace();
  EXPECT_NE(std::string::npos, ClMsgMgr::Inst().LastErrorPlace().find("Walk"))
      << ClMsgMgr::Inst().LastErrorPlace();
  platform::faults::Clear();
  EXPECT_EQ(Cp932("令和6年4月1日"), formatter_.FormatDate(20240401, 0)) << "the cursor was released";
}

}  // namespace
