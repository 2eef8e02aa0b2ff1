#include "Validators.h"

#include "Conversions.h"
#include "WinPath.h"

#include <cmath>
#include <cstdint>
#include <initializer_list>

namespace zvo {

namespace {

using Fields = std::initializer_list<QString *>;

// The field's value rounded to Decimals places (halves to even); empty or unreadable text
// counts as Default.
double Val(const QString &Field, int Decimals, double Default = 0)
{
    static constexpr uint32_t Scales[] = {1,      10,      100,      1000,     10000,
                                          100000, 1000000, 10000000, 100000000};
    return StrToRoundedFloat(Field, Default, Scales[Decimals]);
}

bool Given(const QString &Field)
{
    return !TrimText(Field).isEmpty();
}

bool Near(double Value, double X)
{
    return std::fabs(Value - X) <= 0.001;
}

// A value and its partner are both zero or both positive; one without the other is refused.
bool PairOk(double A, double B)
{
    return !((A > 0 && B == 0) || (A == 0 && B > 0));
}

void ClearAll(Fields List)
{
    for (QString *f : List)
        f->clear();
}

// Cleans the fields in turn (an empty one is accepted) and stops at the first refused.
bool CleanAll(Fields List)
{
    for (QString *f : List)
        if (!CleanNumericText(*f, true))
            return false;
    return true;
}

bool NoneBelowZero(Fields List, int Decimals)
{
    for (const QString *f : List)
        if (Val(*f, Decimals) < 0)
            return false;
    return true;
}

// True when Text holds nothing outside Allowed but blanks and control characters.
bool OnlyCharsFrom(const QString &Text, const QString &Allowed)
{
    QString rejected;
    for (const QChar c : Text)
        if (!Allowed.contains(c))
            rejected += c;
    return TrimText(rejected).isEmpty();
}

} // namespace

// ---------------------------------------------------------------- TTempAmbiguous

TTempAmbiguous::TTempAmbiguous()
{
    Clear();
}

void TTempAmbiguous::Clear()
{
    ClearAll({&Period2, &Period2Err, &Amp2, &Amp2Err, &Period3, &Period3Err, &Amp3, &Amp3Err,
              &Period4, &Period4Err, &Amp4, &Amp4Err});
}

bool TTempAmbiguous::HasData() const
{
    return Val(Period2, 6) > 0 && Val(Amp2, 3) > 0;
}

bool TTempAmbiguous::ValidateData()
{
    const Fields all = {&Period2, &Period2Err, &Amp2, &Amp2Err, &Period3, &Period3Err,
                        &Amp3,    &Amp3Err,    &Period4, &Period4Err, &Amp4, &Amp4Err};
    if (!CleanAll(all) || !NoneBelowZero(all, 0))
        return false;
    return PairOk(Val(Period2, 4), Val(Amp2, 3)) && PairOk(Val(Period3, 4), Val(Amp3, 3)) &&
           PairOk(Val(Period4, 4), Val(Amp4, 3));
}

// ---------------------------------------------------------------- TTempBinary

TTempBinary::TTempBinary()
{
    Clear();
}

void TTempBinary::Clear()
{
    ClearAll({&BType, &Period1, &Period1Err, &Amp1, &Amp1Err, &Period2, &Period2Err, &Amp2,
              &Amp2Err, &POrb, &POrbErr, &EventMin, &EventMax, &DsDpFlag, &DsDp, &DsDpErr, &ADp,
              &ADpErr});
}

bool TTempBinary::HasData() const
{
    if (!Given(BType))
        return false;
    if (Val(Period1, 6) > 0 && !(Val(Period1Err, 6) > 0))
        return false;
    if (Val(Period2, 6) > 0)
        return Val(Period2Err, 6) > 0;
    if (Val(POrb, 6) > 0)
        return Val(POrbErr, 6) > 0;
    return true;
}

bool TTempBinary::ValidateData()
{
    // BType and DsDpFlag are free text.
    const Fields numbers = {&Period1, &Period1Err, &Amp1,     &Amp1Err,  &Period2, &Period2Err,
                            &Amp2,    &Amp2Err,    &POrb,     &POrbErr,  &EventMin, &EventMax,
                            &DsDp,    &DsDpErr,    &ADp,      &ADpErr};
    if (!CleanAll(numbers) || !NoneBelowZero(numbers, 0))
        return false;
    if (!PairOk(Val(Period1, 8), Val(Period1Err, 8)) || !PairOk(Val(Amp1, 3), Val(Amp1Err, 3)) ||
        !PairOk(Val(Period2, 8), Val(Period2Err, 6)))
        return false;
    // Amp2 is read at 3 decimals against a missing error but at 6 against a given one, so an
    // amplitude below 0.0005 is accepted with an error and without one.
    const double amp2Err = Val(Amp2Err, 3);
    if ((Val(Amp2, 3) > 0 && amp2Err == 0) || (Val(Amp2, 6) == 0 && amp2Err > 0))
        return false;
    if (!PairOk(Val(POrb, 8), Val(POrbErr, 8)))
        return false;
    if (Given(DsDpFlag) && !Given(DsDp))
        return false;
    return PairOk(Val(DsDp, 3), Val(DsDpErr, 3)) && PairOk(Val(ADp, 3), Val(ADpErr, 3));
}

// ---------------------------------------------------------------- TTempColorIndex

TTempColorIndex::TTempColorIndex()
{
    Clear();
}

void TTempColorIndex::Clear()
{
    ClearAll({&BV, &BVErr, &BR, &BRErr, &VR, &VRErr, &VI, &VIErr, &RI, &RIErr, &SGR, &SGRErr,
              &SRI, &SRIErr, &SIZ, &SIZErr, &ATLco, &ATLcoErr});
#ifndef ZVO_FAMILY_DBCREATOR
    PanSTARRS = true;
#endif
}

bool TTempColorIndex::HasData() const
{
    // 99.9 is the family's "no index" value.
    for (const QString *index : {&BV, &BR, &VR, &VI, &RI, &SGR, &SRI, &SIZ, &ATLco})
        if (Val(*index, 3, 99.9) < 90)
            return true;
    return false;
}

bool TTempColorIndex::ValidateData()
{
    struct Pair {
        QString &Index, &Err;
    };
    // The order the checks run in, which is not the declaration order.
    Pair pairs[] = {{BV, BVErr},   {VR, VRErr},   {VI, VIErr},   {RI, RIErr},      {SGR, SGRErr},
                    {SRI, SRIErr}, {SIZ, SIZErr}, {BR, BRErr},   {ATLco, ATLcoErr}};
    for (Pair &p : pairs)
        if (!CleanNumericText(p.Index, true) || !CleanNumericText(p.Err, true))
            return false;
    // The indexes themselves may be negative.
    for (const Pair &p : pairs)
        if (Val(p.Err, 3) < 0)
            return false;
    for (const Pair &p : pairs)
        if (Given(p.Index) != Given(p.Err))
            return false;
    return true;
}

// ---------------------------------------------------------------- TTempNPAR

TTempNPAR::TTempNPAR()
{
    Clear();
}

void TTempNPAR::Clear()
{
    ClearAll({&PAR, &Period2, &Period2Err, &Amp2, &Amp2Err});
}

bool TTempNPAR::HasData() const
{
    if (!Given(PAR))
        return false;
    if (!Given(Period2) && !Given(Amp2))
        return true;
    return Given(Period2) && Given(Amp2) && Val(Period2, 6) > 0 && Val(Amp2, 3) > 0;
}

bool TTempNPAR::ValidateData()
{
    if (!OnlyCharsFrom(PAR, "01234+-"))
        return false;
    if (!CleanAll({&Period2, &Period2Err, &Amp2, &Amp2Err}))
        return false;
    if (Given(Period2))
        return Val(Period2, 6) > 0 && Val(Amp2, 2) > 0;
    return !Given(Amp2);
}

// ---------------------------------------------------------------- TTempSpinAxis

TTempSpinAxis::TTempSpinAxis()
{
    Clear();
}

void TTempSpinAxis::Clear()
{
    ClearAll({&L1Err, &B1Err, &L2Err, &B2, &B2Err, &L3Err, &B3, &B3Err, &L4Err, &B4, &B4Err,
              &SidPer, &SidPerErr, &Q});
    // A longitude of -1.0 says "no pole"; the first pole's latitude has its own "none" value.
    L1 = L2 = L3 = L4 = "-1.0";
    B1 = "-99.9";
    ShapeMod = false;
}

bool TTempSpinAxis::HasData() const
{
    const double l = Val(L1, 2, -1.0);
    const double b = Val(B1, 2, -99.9);
    if (Near(l, -1.0)) {
        // Without a first pole, Q has to give the reason.
        const QString q = TrimText(Q);
        return (Near(b, -99.9) || std::fabs(b) <= 90) && !q.isEmpty() &&
               QStringLiteral("PRU").contains(q.front());
    }
    return l >= 0 && std::fabs(b) <= 90;
}

bool TTempSpinAxis::ValidateData()
{
    struct Pole {
        QString &L, &LErr, &B, &BErr;
    };
    Pole poles[] = {{L1, L1Err, B1, B1Err}, {L2, L2Err, B2, B2Err}, {L3, L3Err, B3, B3Err},
                    {L4, L4Err, B4, B4Err}};
    // Every longitude must be there (-1.0 for an absent pole); of the latitudes only the first.
    for (int n = 0; n < 4; ++n) {
        Pole &p = poles[n];
        if (!CleanNumericText(p.L, false) || !CleanNumericText(p.LErr, true) ||
            !CleanNumericText(p.B, n > 0) || !CleanNumericText(p.BErr, true))
            return false;
    }
    if (!CleanAll({&SidPer, &SidPerErr}))
        return false;
    if (!OnlyCharsFrom(Q, "012345+-RPU."))
        return false;
    for (const Pole &p : poles)
        if (Val(p.LErr, 2) < 0 || Val(p.BErr, 2) < 0)
            return false;
    if (!NoneBelowZero({&SidPer, &SidPerErr}, 6))
        return false;
    // The first pole is judged as HasData judges it; Q holds no lower case by now.
    if (!HasData())
        return false;
    for (int n = 1; n < 4; ++n) {
        Pole &p = poles[n];
        const double l = Val(p.L, 2, -1.0);
        if (Near(l, -1.0)) {
            p.L = "-1.0";
            p.LErr.clear();
            p.B.clear();
            p.BErr.clear();
        } else if (!(l >= 0 && std::fabs(Val(p.B, 2, -99.9)) <= 90)) {
            // An empty latitude counts as -99.9 and fails here.
            return false;
        }
    }
    return PairOk(Val(SidPer, 8), Val(SidPerErr, 8));
}

// ---------------------------------------------------------------- the process's records

namespace {

// One holder, so the first use of any record makes all five in their fixed order.
struct TTempRecords {
    TTempAmbiguous Ambiguous;
    TTempBinary Binary;
    TTempColorIndex ColorIndex;
    TTempNPAR NPAR;
    TTempSpinAxis SpinAxis;
};

TTempRecords &Records()
{
    static TTempRecords records;
    return records;
}

} // namespace

TTempAmbiguous &TempAmbiguous()
{
    return Records().Ambiguous;
}

TTempBinary &TempBinary()
{
    return Records().Binary;
}

TTempColorIndex &TempColorIndex()
{
    return Records().ColorIndex;
}

TTempNPAR &TempNPAR()
{
    return Records().NPAR;
}

TTempSpinAxis &TempSpinAxis()
{
    return Records().SpinAxis;
}

} // namespace zvo
