#pragma once
// The family library is built once for each program; the database creator's copy differs in
// a few places (its root-directory load read and the colour-index record).
namespace zvo {
#ifdef ZVO_FAMILY_DBCREATOR
constexpr bool IsDatabaseCreator = true;
#else
constexpr bool IsDatabaseCreator = false;
#endif
} // namespace zvo
