// The CD audio component: the records it exchanges with the program, byte
// for byte, its error codes, and (on Windows) the calls cdaudio.dll exports
// by name. One header for the library and for its callers; the records are
// portable, so the program's portable code reads a TOC without windows.h.
#pragma once

#include <cstddef>
#include <cstdint>

namespace corvella::cdaudio {

#pragma pack(push, 1)

// One drive as GetCDList reports it.
struct CDREC {
    uint8_t ha;
    uint8_t tgt;
    uint8_t lun;
    uint8_t pad;
    char id[65];        // description shown as the drive's name, zero-padded
    char vendor[9];
    char prodId[17];
    char rev[5];
    char vendSpec[21];
};

struct CDLIST {
    uint8_t max;
    uint8_t num;
    CDREC cd[8];
};

// The open request: size 12, version 1, the drive's ha:tgt:lun.
struct GETCDHAND {
    uint8_t size;
    uint8_t ver;
    uint8_t ha;
    uint8_t tgt;
    uint8_t lun;
    uint8_t readType;
    uint8_t jitterCorr;
    uint8_t numJitter;
    uint8_t numOverlap;
    uint8_t reserved[3];
};

struct TOCTRACK {
    uint8_t rsvd;
    uint8_t ADR;          // control nibble: 0x04 marks a data track
    uint8_t trackNumber;  // 0xAA for the lead-out
    uint8_t rsvd2;
    uint8_t addr[4];      // big-endian frame number, or 0 M S F
};

struct TOC {
    uint8_t tocLen[2];  // big-endian: 2 + 8 per entry given
    uint8_t firstTrack;
    uint8_t lastTrack;
    TOCTRACK tracks[100];
};

// The header of an audio read; the audio (2352 bytes a frame) follows it.
struct TRACKBUF {
    uint32_t startFrame;
    uint32_t numFrames;
    uint32_t maxLen;       // bytes of room after the header
    uint32_t len;          // bytes delivered
    uint32_t status;
    int32_t startOffset;
};

#pragma pack(pop)

static_assert(sizeof(CDREC) == 121, "CDREC");
static_assert(offsetof(CDREC, id) == 4 && offsetof(CDREC, vendor) == 69 &&
              offsetof(CDREC, prodId) == 78 && offsetof(CDREC, rev) == 95 &&
              offsetof(CDREC, vendSpec) == 100, "CDREC offsets");
static_assert(sizeof(CDLIST) == 970 && offsetof(CDLIST, cd) == 2, "CDLIST");
static_assert(sizeof(GETCDHAND) == 12, "GETCDHAND");
static_assert(sizeof(TOCTRACK) == 8 && offsetof(TOCTRACK, addr) == 4, "TOCTRACK");
static_assert(sizeof(TOC) == 804 && offsetof(TOC, tracks) == 4, "TOC");
static_assert(sizeof(TRACKBUF) == 24 && offsetof(TRACKBUF, startOffset) == 20, "TRACKBUF");

constexpr uint32_t kFrameBytes = 2352;
constexpr uint8_t kLeadOutTrack = 0xAA;
constexpr uint8_t kDataTrackBit = 0x04;
constexpr uint8_t kParmAddressMsf = 0x24;  // ModifyCDParms: 0 = frame numbers

// GetAspiLibError codes.
enum Error : int {
    kOk = 0,
    kErrNoAspi = -1,
    kErrNoSupportInfo = -2,
    kErrNoSendCommand = -3,
    kErrAspi = -4,
    kErrUnused = -5,
    kErrBufferTooSmall = -6,
    kErrInvalidHandle = -7,
    kErrNoSlots = -8,
    kErrBadBuffer = -9,
    kErrNotCdrom = -10,
    kErrNoLock = -11,
    kErrInUse = -12,
    kErrBadRequest = -13,
    kErrBadVersion = -14,
    kErrJitter = -15,
};

}  // namespace corvella::cdaudio

#ifdef _WIN32
#ifdef CDAUDIO_BUILDING
#define CDAUDIO_API extern "C" __declspec(dllexport)
#else
#define CDAUDIO_API extern "C" __declspec(dllimport)
#endif
// cdecl, exported undecorated.
CDAUDIO_API int GetNumAdapters(void);
CDAUDIO_API int GetCDList(corvella::cdaudio::CDLIST* list);
CDAUDIO_API unsigned char GetCDHandle(corvella::cdaudio::GETCDHAND* request);
CDAUDIO_API int CloseCDHandle(unsigned char handle);
CDAUDIO_API void ModifyCDParms(unsigned char handle, int parm, unsigned long value);
CDAUDIO_API int ReadTOC(unsigned char handle, corvella::cdaudio::TOC* toc);
CDAUDIO_API int ReadCDAudioLBA(unsigned char handle, corvella::cdaudio::TRACKBUF* buf);
CDAUDIO_API int GetAspiLibError(void);
#endif
