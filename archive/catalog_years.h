// The archive's places and their years, in catalog order. Shared by the catalog and by the
// generator that draws the photographs, so the two can never disagree about a row.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

namespace mirvane::archive_years {

inline constexpr std::array<int, 19> kAralSea = {2000, 2001, 2002, 2003, 2004, 2005, 2006,
                                                 2007, 2008, 2009, 2010, 2011, 2012, 2013,
                                                 2014, 2015, 2016, 2017, 2018};

inline constexpr std::array<int, 29> kColumbiaGlacier = {
    1986, 1987, 1989, 1995, 1996, 1997, 1999, 2000, 2001, 2002, 2003, 2004, 2005, 2006, 2008,
    2009, 2010, 2011, 2013, 2014, 2015, 2016, 2017, 2018, 2019, 2020, 2021, 2022, 2024};

inline constexpr std::array<int, 23> kLakePowell = {1999, 2000, 2001, 2002, 2003, 2004, 2005, 2006,
                                                    2007, 2008, 2009, 2010, 2011, 2012, 2013, 2014,
                                                    2015, 2016, 2017, 2018, 2019, 2020, 2021};

struct Place {
    std::u16string_view name;
    std::span<const int> years;
};

// In the order of the location selector: index 0, 1, 2.
inline constexpr std::array<Place, 3> kPlaces = {{
    {u"Aral Sea", kAralSea},
    {u"Columbia Glacier", kColumbiaGlacier},
    {u"Lake Powell", kLakePowell},
}};

inline constexpr std::size_t kRowCount =
    kAralSea.size() + kColumbiaGlacier.size() + kLakePowell.size();
static_assert(kRowCount == 71);

inline constexpr unsigned kFirstResourceId = 1000;

}  // namespace mirvane::archive_years
