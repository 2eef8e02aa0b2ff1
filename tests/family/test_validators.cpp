#include "FamilyFormats.h"
#include "Validators.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <utility>
#include <vector>

using namespace zvo;

namespace {

class Validators : public ::testing::Test {
protected:
    void SetUp() override { InitFamilyFormats(); }
};

std::string S(const QString &s)
{
    return s.toStdString();
}

// A record built from a fresh (cleared) one with some fields set.
template <class T>
using Settings = std::vector<std::pair<QString T::*, const char *>>;

template <class T>
struct Case {
    const char *What;
    Settings<T> Set;
    bool Expected;
};

template <class T>
T Filled(const Settings<T> &set)
{
    T record;
    for (const auto &[field, text] : set)
        record.*field = QString(text);
    return record;
}

template <class T, class Op>
void CheckAll(const std::vector<Case<T>> &cases, Op op)
{
    for (const Case<T> &c : cases) {
        T record = Filled(c.Set);
        EXPECT_EQ(op(record), c.Expected) << c.What;
    }
}

const auto Validate = [](auto &record) { return record.ValidateData(); };
const auto HasData = [](const auto &record) { return record.HasData(); };

using A = TTempAmbiguous;
using B = TTempBinary;
using C = TTempColorIndex;
using N = TTempNPAR;
using P = TTempSpinAxis;

template <class T, class = void>
struct HasPanSTARRS : std::false_type {};
template <class T>
struct HasPanSTARRS<T, std::void_t<decltype(&T::PanSTARRS)>> : std::true_type {};
static_assert(HasPanSTARRS<TTempColorIndex>::value, "the installer's colour record has PanSTARRS");

} // namespace

TEST_F(Validators, NumericFieldsAreCleanedInPlace)
{
    // Amp2Err is only cleaned and sign-tested, so the clean-up alone decides.
    struct Clean { const char *in; bool ok; const char *out; };
    const Clean cases[] = {
        {" 1.5 ", true, "1.5"},   {"1 234", true, "1234"},  {".5", true, "0.5"},
        {"3.", true, "3.0"},      {"1..5", true, "1.5"},    {"1.2.3", false, "1.2.3"},
        {"1e3", false, "1e3"},    {"1E3", true, "1E3"},     {"12,5", false, "12,5"},
        {"\t2\r\n", true, "2"},   {"   ", true, ""},
    };
    for (const Clean &c : cases) {
        TTempAmbiguous r;
        r.Amp2Err = c.in;
        EXPECT_EQ(r.ValidateData(), c.ok) << c.in;
        EXPECT_EQ(S(r.Amp2Err), c.out) << c.in;
    }
}

TEST_F(Validators, FirstFailingRuleLeavesLaterFieldsAlone)
{
    TTempAmbiguous a;
    a.Period2 = "1.2.3";
    a.Amp3 = " 7 ";
    EXPECT_FALSE(a.ValidateData());
    EXPECT_EQ(S(a.Amp3), " 7 ");

    // What was cleaned stays cleaned when a later rule fails.
    a.Clear();
    a.Period2 = " 3.5 ";
    EXPECT_FALSE(a.ValidateData());
    EXPECT_EQ(S(a.Period2), "3.5");

    // Colour indexes are cleaned BV, VR, ..., BR, ATLco: BR comes after VR.
    TTempColorIndex c;
    c.BV = " 0.1 ";
    c.VR = "1.2.3";
    c.BR = " 0.5 ";
    EXPECT_FALSE(c.ValidateData());
    EXPECT_EQ(S(c.BV), "0.1");
    EXPECT_EQ(S(c.BR), " 0.5 ");

    TTempNPAR n;
    n.PAR = "5";
    n.Period2 = " 5 ";
    EXPECT_FALSE(n.ValidateData());
    EXPECT_EQ(S(n.Period2), " 5 ");
}

TEST_F(Validators, Ambiguous)
{
    const std::vector<Case<A>> validate = {
        {"empty", {}, true},
        {"-0.4 rounds to 0", {{&A::Period2Err, "-0.4"}}, true},
        {"-0.5 rounds to the even 0", {{&A::Amp3Err, "-0.5"}}, true},
        {"-0.6 rounds to -1", {{&A::Amp4Err, "-0.6"}}, false},
        {"period without amplitude", {{&A::Period2, "3.5"}}, false},
        {"amplitude without period", {{&A::Amp3, "0.2"}}, false},
        {"both", {{&A::Period2, "3.5"}, {&A::Amp2, "0.2"}}, true},
        {"period is 0 at 4 decimals", {{&A::Period2, "0.00004"}, {&A::Amp2, "0.2"}}, false},
        {"amplitude is 0 at 3 decimals", {{&A::Period4, "2"}, {&A::Amp4, "0.0004"}}, false},
        {"errors are not paired", {{&A::Period3Err, "0.1"}, {&A::Amp4Err, "0.1"}}, true},
    };
    CheckAll(validate, Validate);

    const std::vector<Case<A>> hasData = {
        {"empty", {}, false},
        {"period and amplitude", {{&A::Period2, "3.5"}, {&A::Amp2, "0.2"}}, true},
        {"smallest period and amplitude", {{&A::Period2, "0.000001"}, {&A::Amp2, "0.001"}}, true},
        {"period is 0 at 6 decimals", {{&A::Period2, "0.0000004"}, {&A::Amp2, "0.2"}}, false},
        {"amplitude is 0 at 3 decimals", {{&A::Period2, "3.5"}, {&A::Amp2, "0.0004"}}, false},
        {"unreadable period", {{&A::Period2, "abc"}, {&A::Amp2, "0.2"}}, false},
        {"only the third pair", {{&A::Period3, "3.5"}, {&A::Amp3, "0.2"}}, false},
    };
    CheckAll(hasData, HasData);
}

TEST_F(Validators, Binary)
{
    const std::vector<Case<B>> validate = {
        {"empty: BType is not examined", {}, true},
        {"free text in BType and DsDpFlag", {{&B::BType, "?x!"}, {&B::DsDpFlag, "?"},
                                             {&B::DsDp, "1"}, {&B::DsDpErr, "0.1"}}, true},
        {"negative event limit", {{&B::EventMin, "-1"}}, false},
        {"event limits alone", {{&B::EventMin, "12.5"}}, true},
        {"period without error", {{&B::Period1, "2.5"}}, false},
        {"period error is 0 at 8 decimals",
         {{&B::Period1, "2.5"}, {&B::Period1Err, "0.000000004"}}, false},
        {"period error is 1E-8", {{&B::Period1, "2.5"}, {&B::Period1Err, "0.00000001"}}, true},
        {"second period error is read at 6 decimals",
         {{&B::Period2, "3"}, {&B::Period2Err, "0.0000004"}}, false},
        {"amplitude 1 below 0.0005 with error", {{&B::Amp1, "0.0004"}, {&B::Amp1Err, "0.01"}},
         false},
        {"amplitude 2 below 0.0005 with error", {{&B::Amp2, "0.0004"}, {&B::Amp2Err, "0.01"}},
         true},
        {"amplitude 2 below 0.0005 without error", {{&B::Amp2, "0.0004"}}, true},
        {"amplitude 2 without error", {{&B::Amp2, "0.5"}}, false},
        {"amplitude 2 error alone", {{&B::Amp2Err, "0.01"}}, false},
        {"orbital period without error", {{&B::POrb, "10"}}, false},
        {"orbital period with error", {{&B::POrb, "10"}, {&B::POrbErr, "0.5"}}, true},
        {"DsDp flag without DsDp", {{&B::DsDpFlag, "Y"}}, false},
        {"DsDp without error", {{&B::DsDpFlag, "Y"}, {&B::DsDp, "0.2"}}, false},
        {"ADp without error", {{&B::ADp, "1"}}, false},
        {"ADp with error", {{&B::ADp, "1"}, {&B::ADpErr, "0.1"}}, true},
    };
    CheckAll(validate, Validate);

    const std::vector<Case<B>> hasData = {
        {"no type", {{&B::Period2, "3"}, {&B::Period2Err, "0.1"}}, false},
        {"type alone", {{&B::BType, "EA"}}, true},
        {"period 1 without error", {{&B::BType, "EA"}, {&B::Period1, "2.5"}}, false},
        {"period 2 without error",
         {{&B::BType, "EA"}, {&B::Period1, "2.5"}, {&B::Period1Err, "0.1"}, {&B::Period2, "3"}},
         false},
        {"period 2 decides before the orbit",
         {{&B::BType, "EA"}, {&B::Period2, "3"}, {&B::Period2Err, "0.1"}, {&B::POrb, "10"}}, true},
        {"orbit without error", {{&B::BType, "EA"}, {&B::POrb, "10"}}, false},
        {"orbit with error", {{&B::BType, "EA"}, {&B::POrb, "10"}, {&B::POrbErr, "0.5"}}, true},
    };
    CheckAll(hasData, HasData);
}

TEST_F(Validators, ColorIndex)
{
    const std::vector<Case<C>> validate = {
        {"empty", {}, true},
        {"index without error", {{&C::BV, "-0.2"}}, false},
        {"negative index with error", {{&C::BV, "-0.2"}, {&C::BVErr, "0.03"}}, true},
        {"error without index", {{&C::ATLcoErr, "0.02"}}, false},
        {"negative error", {{&C::BR, "0.5"}, {&C::BRErr, "-0.01"}}, false},
        {"error is 0 at 3 decimals", {{&C::SIZ, "0.5"}, {&C::SIZErr, "-0.0004"}}, true},
    };
    CheckAll(validate, Validate);

    const std::vector<Case<C>> hasData = {
        {"empty", {}, false},
        {"negative BV", {{&C::BV, "-0.2"}}, true},
        {"BR just below 90", {{&C::BR, "89.999"}}, true},
        {"ATLco at 90", {{&C::ATLco, "90"}}, false},
        {"unreadable counts as absent", {{&C::SGR, "abc"}}, false},
        {"only an error", {{&C::VIErr, "0.01"}}, false},
    };
    CheckAll(hasData, HasData);

    TTempColorIndex r;
    EXPECT_TRUE(r.PanSTARRS);
    r.PanSTARRS = false;
    EXPECT_TRUE(r.ValidateData());
    r.Clear();
    EXPECT_TRUE(r.PanSTARRS);
}

TEST_F(Validators, NPAR)
{
    const std::vector<Case<N>> validate = {
        {"empty", {}, true},
        {"PAR alone", {{&N::PAR, "-2"}}, true},
        {"PAR with blanks", {{&N::PAR, " 1 2\t"}}, true},
        {"PAR outside 0 to 4", {{&N::PAR, "5"}}, false},
        {"period and amplitude", {{&N::Period2, "5"}, {&N::Amp2, "0.01"}}, true},
        {"period without amplitude", {{&N::Period2, "5"}}, false},
        {"amplitude is 0 at 2 decimals", {{&N::Period2, "5"}, {&N::Amp2, "0.004"}}, false},
        {"amplitude without period", {{&N::Amp2, "0.3"}}, false},
        {"error fields are only cleaned", {{&N::Period2Err, "-3"}, {&N::Amp2Err, "4"}}, true},
        {"unclean error field", {{&N::Amp2Err, "x"}}, false},
    };
    CheckAll(validate, Validate);

    const std::vector<Case<N>> hasData = {
        {"empty", {}, false},
        {"PAR alone", {{&N::PAR, "2"}}, true},
        {"period without amplitude", {{&N::PAR, "2"}, {&N::Period2, "5"}}, false},
        {"period and amplitude", {{&N::PAR, "2"}, {&N::Period2, "5"}, {&N::Amp2, "0.1"}}, true},
        {"amplitude is 0 at 3 decimals",
         {{&N::PAR, "2"}, {&N::Period2, "5"}, {&N::Amp2, "0.0004"}}, false},
        {"no PAR", {{&N::Period2, "5"}, {&N::Amp2, "0.1"}}, false},
    };
    CheckAll(hasData, HasData);
}

TEST_F(Validators, SpinAxisWithoutFirstPoleNeedsReasonInQ)
{
    struct QCase { const char *q; bool valid; bool hasData; };
    const QCase cases[] = {
        {"", false, false},    {"P", true, true},   {" R2 ", true, true}, {"U", true, true},
        {"P.+", true, true},   {"Pr", false, true}, {"p", false, false}, {"A", false, false},
        {"2P", false, false},
    };
    for (const QCase &c : cases) {
        TTempSpinAxis r;
        r.Q = c.q;
        EXPECT_EQ(r.HasData(), c.hasData) << c.q;
        EXPECT_EQ(r.ValidateData(), c.valid) << c.q;
        if (c.valid) {
            for (const QString *l : {&r.L2, &r.L3, &r.L4})
                EXPECT_EQ(S(*l), "-1.0") << c.q;
            for (const QString *b : {&r.B2, &r.B3, &r.B4})
                EXPECT_EQ(S(*b), "") << c.q;
        }
    }
}

TEST_F(Validators, SpinAxisPoles)
{
    const std::vector<Case<P>> validate = {
        {"second pole without latitude",
         {{&P::L1, "10"}, {&P::B1, "20"}, {&P::L2, "120"}}, false},
        {"second pole", {{&P::L1, "10"}, {&P::B1, "20"}, {&P::L2, "120"}, {&P::B2, "-35"}}, true},
        {"first longitude required", {{&P::L1, ""}, {&P::Q, "P"}}, false},
        {"first latitude required", {{&P::B1, " "}, {&P::Q, "P"}}, false},
        {"fourth longitude required", {{&P::L4, ""}, {&P::Q, "P"}}, false},
        {"negative longitude", {{&P::L1, "-0.5"}, {&P::B1, "20"}}, false},
        {"latitude beyond the pole", {{&P::L1, "10"}, {&P::B1, "91"}}, false},
        {"latitude at the pole", {{&P::L1, "10"}, {&P::B1, "-90"}}, true},
        {"no first pole, latitude given", {{&P::B1, "45"}, {&P::Q, "P"}}, true},
        {"no first pole, latitude beyond the pole", {{&P::B1, "95"}, {&P::Q, "P"}}, false},
        {"negative longitude error", {{&P::L1Err, "-0.01"}, {&P::Q, "P"}}, false},
        {"longitude error is 0 at 2 decimals", {{&P::L1Err, "-0.004"}, {&P::Q, "P"}}, true},
        {"bad character in Q", {{&P::Q, "P?"}}, false},
        {"sidereal period without error", {{&P::SidPer, "5"}, {&P::Q, "P"}}, false},
        {"sidereal period with error",
         {{&P::SidPer, "5"}, {&P::SidPerErr, "0.00001"}, {&P::Q, "P"}}, true},
        {"third pole beyond the pole",
         {{&P::L1, "10"}, {&P::B1, "20"}, {&P::L3, "200"}, {&P::B3, "95"}}, false},
    };
    CheckAll(validate, Validate);

    const std::vector<Case<P>> hasData = {
        {"first pole", {{&P::L1, "10"}, {&P::B1, "20"}}, true},
        {"first pole without latitude", {{&P::L1, "10"}, {&P::B1, ""}}, false},
        {"negative longitude", {{&P::L1, "-0.5"}, {&P::B1, "20"}}, false},
        {"no first pole, latitude beyond the pole", {{&P::B1, "95"}, {&P::Q, "P"}}, false},
    };
    CheckAll(hasData, HasData);
}

TEST_F(Validators, SpinAxisMarksAbsentPoles)
{
    TTempSpinAxis r;
    r.Q = "P";
    r.L3 = " -1 ";
    r.L3Err = "2";
    r.B3 = "30";
    r.B3Err = "1";
    r.L4 = "+-"; // unreadable: counts as no pole
    r.B4 = "10";
    EXPECT_TRUE(r.ValidateData());
    EXPECT_EQ(S(r.L3), "-1.0");
    EXPECT_EQ(S(r.L4), "-1.0");
    for (const QString *f : {&r.L3Err, &r.B3, &r.B3Err, &r.B4})
        EXPECT_EQ(S(*f), "");

    // The marking stays when a later rule fails.
    r.Clear();
    r.Q = "P";
    r.L2 = "-1";
    r.B2 = "10";
    r.SidPer = "5";
    EXPECT_FALSE(r.ValidateData());
    EXPECT_EQ(S(r.L2), "-1.0");
    EXPECT_EQ(S(r.B2), "");
}

TEST_F(Validators, ProcessRecordsAreMadeOnceAndCleared)
{
    EXPECT_EQ(&TempAmbiguous(), &TempAmbiguous());
    EXPECT_EQ(&TempSpinAxis(), &TempSpinAxis());
    EXPECT_FALSE(TempAmbiguous().HasData());
    EXPECT_FALSE(TempBinary().HasData());
    EXPECT_TRUE(TempColorIndex().PanSTARRS);
    EXPECT_FALSE(TempNPAR().HasData());
    EXPECT_EQ(S(TempSpinAxis().B1), "-99.9");
}
