// Server replies the disc lookup tests replay, and what must come of them.
#pragma once

#include <string>
#include <vector>

#include "libs/disclookup/core/cddb_dialogue.h"
#include "libs/disclookup/core/web_search.h"

namespace disclookup_testing {

using namespace corvella::disclookup;

inline CddbRequest Request() { return {"rock", "7a0b2c0d", "John Smith", "den pc"}; }

// A whole read session. The entry holds a line beginning "200", values
// split over lines, an escape and a "/" inside the artist.
inline std::string CddbSession() {
    return "201 cddb.local CDDBP server v1.5.2PL0 ready at Wed Dec 09 10:00:00 2026\r\n"
           "200 Hello and welcome John_Smith@den_pc running Corvella 1.2.0.\r\n"
           "201 OK, CDDB protocol level now: 5\r\n"
           "210 rock 7a0b2c0d CD database entry follows (until terminating `.')\r\n"
           "# xmcd\r\n#\r\n"
           "200 begins this line of the entry\r\n"
           "DISCID=7a0b2c0d\r\n"
           "DTITLE=AC/DC / Back in \r\nDTITLE=Black\r\n"
           "DYEAR=1980\r\nDGENRE=Hard Rock\r\n"
           "TTITLE0=Hells Bells\r\n"
           "TTITLE1=Shoot to Thrill\\tLive\r\n"
           "TTITLE2=What Do You Do for Money Honey, long enough that \r\nTTITLE2=the server split it\r\n"
           "EXTD=\r\nPLAYORDER=\r\n"
           ".\r\n"
           "230 cddb.local Closing connection.  Goodbye.\r\n";
}

inline std::string CddbCommands() {
    return "cddb hello John_Smith den_pc Corvella 1.2.0\r\nproto 5\r\ncddb read rock 7a0b2c0d\r\nquit\r\n";
}

inline DiscInfo CddbDisc() {
    return {"AC/DC", "Back in Black", "Hard Rock", "1980",
            {{"Hells Bells", ""},
             {"Shoot to Thrill\tLive", ""},
             {"What Do You Do for Money Honey, long enough that the server split it", ""}}};
}

// Result links among links that must make no record: no id, a short id, an
// id with more after it, a category in capitals, look-alike keys.
inline std::string SearchPage() {
    return "<html><body><a href=\"/index.php\">Home</a> <abbr title=\"x\">y</abbr><table>\n"
           "<tr><td><a href=\"http://www.freedb.org/freedb_search_fmt.php?cat=rock&id=7a0b2c0d\">"
           "AC/DC / Back in Black</a></td></tr>\n"
           "<tr><td><A HREF='/fmt.php?cat=misc&amp;id=0B0C0D0E'><b>Tom &amp; Jerry</b> / "
           "&quot;Live&quot; &#60;1&#62; caf&#233;</A></td></tr>\n"
           "<tr><td><a href=\"/fmt.php?cat=jazz&id=12345678\">Untitled</a></td></tr>\n"
           "<a href=\"/fmt.php?cat=jazz&id=1234567\">x / y</a><a href=\"/fmt.php?cat=jazz&id=12345678%0Dquit\">x / y</a>\n"
           "<a href=\"/fmt.php?cat=Rock&id=12345678\">x / y</a><a href=\"/fmt.php?xcat=rock&discid=12345678\">x / y</a>\n"
           "<tr><td><a href=\"/fmt.php?id=abcdef01&cat=blues\">Order / Swapped</a></td></tr>\n"
           "</table><a href=\"/next.php?page=2\">Next</a></body></html>\n";
}

inline std::vector<DiscID> SearchDiscs() {
    return {{"7a0b2c0d", "Back in Black", "AC/DC", "rock"},
            {"0B0C0D0E", "\"Live\" <1> caf\xE9", "Tom & Jerry", "misc"},
            {"12345678", "", "Untitled", "jazz"},
            {"abcdef01", "Swapped", "Order", "blues"}};
}

inline std::string SearchReply() {
    return "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=iso-8859-1\r\n\r\n" + SearchPage();
}

}  // namespace disclookup_testing
