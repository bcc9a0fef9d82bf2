// Scripted CDDB server replies shared by the dialogue and fuzz tests.
#pragma once

#include <string>

#include "app/cdrip/core/tests/toc_builder.h"
#include "app/cdrip/lookup/core/ripper_lookup.h"

namespace corvella::cdrip::lookup_testing {

// Two tracks at 00:02:00 and 03:22:00, lead-out at 06:42:00.
inline cdaudio::TOC TwoTrackToc(bool secondIsData = false) {
    return testing::MakeToc(1, {0, 15000}, 30000, secondIsData ? 1 : -1);
}

inline LookupQuery Query() { return {"06019002", "06019002 2 150 15150 402"}; }

constexpr char kHello[] = "cddb hello user pc Test_APP 1.0.0\r\n";
constexpr char kProto[] = "proto 5\r\n";
constexpr char kQuery[] = "cddb query 06019002 2 150 15150 402\r\n";
constexpr char kRead[] = "cddb read rock 06019002\r\n";

constexpr char kGreeting[] =
    "201 localhost CDDBP server v1.5 ready at Wed Dec 09 20:00:00 2026\r\n"
    "200 Hello and welcome user@pc running Test_APP 1.0.0.\r\n"
    "201 OK, CDDB protocol level now: 5\r\n";

constexpr char kEntry[] =
    "210 rock 06019002 CD database entry follows (until terminating `.')\r\n"
    "# xmcd\r\n"
    "DISCID=06019002\r\n"
    "DTITLE=AC/DC / Back in Black\r\n"
    "DYEAR=2001\r\n"
    "DGENRE=Rock\r\n"
    "TTITLE0=Hells Bells\r\n"
    "TTITLE1=Shoot to\r\n"
    "TTITLE1= Thrill\r\n"
    "EXTD=\r\n"
    "PLAYORDER=\r\n"
    ".\r\n";

inline std::string ExactSession() {
    return std::string(kGreeting) + "200 rock 06019002 AC/DC / Back in Black\r\n" + kEntry;
}

}  // namespace corvella::cdrip::lookup_testing
