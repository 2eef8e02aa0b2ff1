// The database creator's copy of the family library: its colour-index record has no
// PanSTARRS flag and otherwise behaves as the installer's.
#include "FamilyFormats.h"
#include "FamilyVariant.h"
#include "Validators.h"

#include <gtest/gtest.h>

#include <type_traits>

using namespace zvo;

namespace {

template <class T, class = void>
struct HasPanSTARRS : std::false_type {};
template <class T>
struct HasPanSTARRS<T, std::void_t<decltype(&T::PanSTARRS)>> : std::true_type {};

static_assert(IsDatabaseCreator, "this test belongs to the database creator's library");
static_assert(!HasPanSTARRS<TTempColorIndex>::value,
              "the database creator's colour record has no PanSTARRS");

} // namespace

TEST(ValidatorsDbCreator, ColorIndexWithoutPanSTARRS)
{
    InitFamilyFormats();
    TTempColorIndex &r = TempColorIndex();
    EXPECT_FALSE(r.HasData());
    r.BV = " -0.2 ";
    EXPECT_TRUE(r.HasData());
    EXPECT_FALSE(r.ValidateData());
    EXPECT_EQ(r.BV.toStdString(), "-0.2");
    r.BVErr = "0.03";
    EXPECT_TRUE(r.ValidateData());
    r.Clear();
    EXPECT_FALSE(r.HasData());
    EXPECT_TRUE(r.BV.isEmpty());
}
