// Frames of an ID3v2.2 tag (three-character IDs) in their 2.3 form, so that
// a 2.2 tag is read into the fields and written back as 2.3.
#pragma once

#include <string>

namespace corvella {
namespace id3v2 {

// Turns a 2.2 frame into its 2.3 form in place: the ID and, where the two
// versions lay it out differently (a picture, a link), the body. False for
// a frame with no 2.3 form (an encrypted meta frame, any ID 2.2 does not
// define), or a body too short to convert; such a frame is not carried over.
bool ConvertV22Frame(std::string& id, std::string& body);

}  // namespace id3v2
}  // namespace corvella
