#pragma once
// Records that hold one set of light-curve analysis results as text, as the user typed them,
// and decide whether the set is complete and acceptable.
//
// HasData tells whether the record carries a usable main result. ValidateData cleans the
// numeric fields in place as it goes and stops at the first rule that fails, so fields after
// that rule keep their text; whatever it cleaned stays cleaned even when it returns false.
#include <QString>

namespace zvo {

// Alternative periods and amplitudes.
class TTempAmbiguous {
public:
    QString Period2, Period2Err, Amp2, Amp2Err;
    QString Period3, Period3Err, Amp3, Amp3Err;
    QString Period4, Period4Err, Amp4, Amp4Err;

    TTempAmbiguous();
    void Clear();
    bool HasData() const;
    bool ValidateData();
};

// Binary-system data: periods, amplitudes, orbital period, event limits, DsDp and ADp.
class TTempBinary {
public:
    QString BType;
    QString Period1, Period1Err, Amp1, Amp1Err;
    QString Period2, Period2Err, Amp2, Amp2Err;
    QString POrb, POrbErr;
    QString EventMin, EventMax;
    QString DsDpFlag, DsDp, DsDpErr;
    QString ADp, ADpErr;

    TTempBinary();
    void Clear();
    bool HasData() const;
    bool ValidateData();
};

// Colour indexes with their errors. An index of 90 or more, or an empty one, counts as absent.
class TTempColorIndex {
public:
    QString BV, BVErr, BR, BRErr, VR, VRErr, VI, VIErr, RI, RIErr;
    QString SGR, SGRErr, SRI, SRIErr, SIZ, SIZErr;
    QString ATLco, ATLcoErr;
#ifndef ZVO_FAMILY_DBCREATOR
    bool PanSTARRS;
#endif

    TTempColorIndex();
    void Clear();
    bool HasData() const;
    bool ValidateData();
};

// Non-principal-axis rotation.
class TTempNPAR {
public:
    QString PAR;
    QString Period2, Period2Err, Amp2, Amp2Err;

    TTempNPAR();
    void Clear();
    bool HasData() const;
    bool ValidateData();
};

// Up to four spin-axis poles (longitude L, latitude B). A longitude of -1.0 marks a pole as
// absent; without a first pole the quality code Q must say why (P, R or U).
class TTempSpinAxis {
public:
    QString L1, L1Err, B1, B1Err;
    QString L2, L2Err, B2, B2Err;
    QString L3, L3Err, B3, B3Err;
    QString L4, L4Err, B4, B4Err;
    QString SidPer, SidPerErr;
    bool ShapeMod;
    QString Q;

    TTempSpinAxis();
    void Clear();
    bool HasData() const;
    bool ValidateData();
};

// The process's one record of each kind. The first call to any of these makes all five, in
// this order; they live until the process ends.
TTempAmbiguous &TempAmbiguous();
TTempBinary &TempBinary();
TTempColorIndex &TempColorIndex();
TTempNPAR &TempNPAR();
TTempSpinAxis &TempSpinAxis();

} // namespace zvo
