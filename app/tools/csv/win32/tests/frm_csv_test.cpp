// The CSV export through its opener on a real window and the real save
// dialog: columns moved across in the user's order, a new name typed into
// the dialog, the file read back by Python's csv module; a name the program
// extends asks before it replaces a file, and a cancelled dialog writes
// nothing.
#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>

#include "app/tools/csv/win32/frm_csv.h"
#include "platform/forms/tests/forms_test_util.h"

namespace corvella {
namespace {

using forms::testing::PumpUntil;
using Table = std::vector<std::vector<std::string>>;

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Unix(const std::string& win) {
    std::string out = win.substr(2);
    for (char& c : out)
        if (c == '\\') c = '/';
    return out;
}

// The file as Python's csv module reads it.
Table ReadCsv(const std::string& winPath) {
    const std::string out = winPath + ".read", part = Unix(out) + ".part";
    std::string cmd = "Z:\\bin\\sh -c \"/usr/bin/python3 '" CORVELLA_CSV_READER "' '" + Unix(winPath) + "' > '" +
                      part + "'; mv '" + part + "' '" + Unix(out) + "'\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    EXPECT_TRUE(CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    // Wine does not wait for a Unix process: the output appears when complete.
    EXPECT_TRUE(PumpUntil([&] { return GetFileAttributesA(out.c_str()) != INVALID_FILE_ATTRIBUTES; }, 60000));
    const std::string text = Bytes(out);
    DeleteFileA(out.c_str());
    Table rows;
    size_t at = 0;
    while (at < text.size()) {
        size_t eol = text.find('\n', at);
        if (eol == std::string::npos) eol = text.size();
        std::vector<std::string> fields(1);
        for (size_t i = at; i + 1 < eol; i += 2) {
            if (text[i] == '\t') {
                fields.emplace_back();
                --i;
                continue;
            }
            fields.back().push_back(static_cast<char>(std::stoi(text.substr(i, 2), nullptr, 16)));
        }
        rows.push_back(fields);
        at = eol + 1;
    }
    return rows;
}

// Runs `step` once from the message loop that is running then (a modal show).
std::function<void()>& Pending() {
    static std::function<void()> step;
    return step;
}
void CALLBACK RunPending(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    auto step = std::move(Pending());
    Pending() = nullptr;
    if (step) step();
}
void Later(std::function<void()> step) {
    Pending() = std::move(step);
    SetTimer(nullptr, 0, 1, &RunPending);
}

// A second thread that answers the save dialog as a user: types `name`
// (when not empty) and presses `button`.
class SaveAnswer {
public:
    SaveAnswer(std::string name, int button) : name_(std::move(name)), button_(button) {
        stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, &SaveAnswer::Run, this, 0, nullptr);
    }
    ~SaveAnswer() {
        SetEvent(stop_);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        CloseHandle(stop_);
    }
    bool Answered() const { return answered_ != 0; }

private:
    static DWORD WINAPI Run(void* self) {
        auto* a = static_cast<SaveAnswer*>(self);
        while (WaitForSingleObject(a->stop_, 10) == WAIT_TIMEOUT && !a->answered_) {
            HWND dialog = FindWindowA("#32770", "Save CSV As...");
            if (dialog == nullptr || !IsWindowVisible(dialog)) continue;
            if (!a->name_.empty())
                for (int id : {0x47c, 0x480}) SetDlgItemTextA(dialog, id, a->name_.c_str());
            PostMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(a->button_), 0);
            InterlockedExchange(&a->answered_, 1);
        }
        return 0;
    }
    std::string name_;
    int button_;
    HANDLE stop_ = nullptr, thread_ = nullptr;
    volatile LONG answered_ = 0;
};

std::vector<std::string> Items(const forms::ListBox& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.ListCount(); ++i) out.push_back(list.List(i));
    return out;
}

class CsvTool : public forms::testing::FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        OleInitialize(nullptr);
        std::string data = std::string("Z:") + std::getenv("CORVELLA_CSV_DATA");
        for (char& c : data)
            if (c == '/') c = '\\';
        folder_ = data + "_work_" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder_.c_str(), nullptr);
        const std::string music = folder_ + "\\one.mp3";
        ASSERT_TRUE(CopyFileA((data + "\\one.mp3").c_str(), music.c_str(), FALSE));
        FileRow one;
        one.path = music;
        one.cells = {"Say \"Hi\", then go", "A, B", "Two\r\nLines", "1999", "Caf\xE9", "Rock", "05"};
        FileRow gone;
        gone.path = folder_ + "\\gone.mp3";
        gone.cells = {"Gone"};
        files_.folder = folder_;
        files_.rows = {one, gone};
        owner_.Show();
    }
    void TearDown() override {
        frmCSV().Unload();
        owner_.Unload();
        WIN32_FIND_DATAA found;
        HANDLE h = FindFirstFileA((folder_ + "\\*").c_str(), &found);
        if (h != INVALID_HANDLE_VALUE) {
            do DeleteFileA((folder_ + "\\" + found.cFileName).c_str());
            while (FindNextFileA(h, &found));
            FindClose(h);
        }
        RemoveDirectoryA(folder_.c_str());
        OleUninitialize();
        FormsTest::TearDown();
    }

    std::string folder_;
    FileSet files_;
    forms::testing::TestForm owner_;
};

TEST_F(CsvTool, ColumnsInTheOrderMovedToANewNameReadBackByACsvReader) {
    std::vector<std::string> available, afterAll, exported;
    bool exportStartedDisabled = false, lessStartedDisabled = false;
    std::unique_ptr<SaveAnswer> answer;
    Later([&] {
        FrmCSV& f = frmCSV();
        EXPECT_EQ(f.Caption(), "Export CSV File...");
        available = Items(f.List1[0]);
        exportStartedDisabled = !IsWindowEnabled(f.Command1[0].hWnd());
        lessStartedDisabled = !IsWindowEnabled(f.Command2[0].hWnd()) && !IsWindowEnabled(f.Command2[3].hWnd());
        SendMessageA(f.Command2[2].hWnd(), BM_CLICK, 0, 0);  // ">>"
        afterAll = Items(f.List1[1]);
        EXPECT_FALSE(IsWindowEnabled(f.Command2[1].hWnd()));
        f.List1[1].SetListIndex(2);                          // "Title"
        SendMessageA(f.Command2[0].hWnd(), BM_CLICK, 0, 0);  // "<"
        SendMessageA(f.Command2[1].hWnd(), BM_CLICK, 0, 0);  // ">": back, at the end
        exported = Items(f.List1[1]);
        answer = std::make_unique<SaveAnswer>("export", IDOK);
        SendMessageA(f.Command1[0].hWnd(), BM_CLICK, 0, 0);
    });
    OpenCsvTool(owner_, files_, {});
    ASSERT_TRUE(answer && answer->Answered());
    EXPECT_FALSE(frmCSV().Loaded()) << "the form closes after the export";
    EXPECT_TRUE(boxes.empty()) << (boxes.empty() ? "" : boxes[0].prompt);
    EXPECT_EQ(available, (std::vector<std::string>{"Filename", "Path", "Title", "Artist", "Album", "Year", "Track",
                                                   "Genre", "Comment", "KBps", "File Size (KB)", "Length"}));
    EXPECT_EQ(afterAll, available);
    EXPECT_TRUE(exportStartedDisabled);
    EXPECT_TRUE(lessStartedDisabled);

    // The dialog added the extension to the new name it was given.
    const std::string written = folder_ + "\\export.csv";
    const std::string bytes = Bytes(written);
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(bytes.substr(bytes.size() - 5), "\"\r\n\r\n");
    const Table expected = {
        {"Filename", "Path", "Artist", "Album", "Year", "Track", "Genre", "Comment", "KBps", "File Size KB", "Length",
         "Title"},
        {"one.mp3", folder_ + "\\", "A, B", "Two\r\nLines", "1999", "05", "Rock", "Caf\xE9", "64", "8", "00:01",
         "Say \"Hi\", then go"},
        {"gone.mp3", folder_ + "\\", "", "", "", "", "", "", "", "", "", "Gone"},
        {""},
    };
    EXPECT_EQ(ReadCsv(written), expected);
}

TEST_F(CsvTool, ANameTheProgramExtendsAsksBeforeReplacingAndACancelWritesNothing) {
    const std::string existing = folder_ + "\\keep.txt.csv";
    std::ofstream(existing, std::ios::binary) << "keep";
    forms::SetMsgBoxHook([this](const std::string& prompt, unsigned buttons, const std::string& title) {
        boxes.push_back({prompt, buttons, title});
        return IDNO;
    });
    bool stayedAfterNo = false, stayedAfterCancel = false;
    Later([&] {
        FrmCSV& f = frmCSV();
        SendMessageA(f.Command2[1].hWnd(), BM_CLICK, 0, 0);  // ">": "Filename"
        {
            SaveAnswer answer("keep.txt", IDOK);
            SendMessageA(f.Command1[0].hWnd(), BM_CLICK, 0, 0);
            EXPECT_TRUE(answer.Answered());
        }
        stayedAfterNo = f.Visible();
        {
            SaveAnswer answer("", IDCANCEL);
            SendMessageA(f.Command1[0].hWnd(), BM_CLICK, 0, 0);
            EXPECT_TRUE(answer.Answered());
        }
        stayedAfterCancel = f.Visible();
        f.Command1[1].DoClick();
    });
    OpenCsvTool(owner_, files_, {});
    EXPECT_TRUE(stayedAfterNo);
    EXPECT_TRUE(stayedAfterCancel);
    ASSERT_EQ(boxes.size(), 1u) << "one question, and no message for the cancel";
    EXPECT_NE(boxes[0].prompt.find("keep.txt.csv"), std::string::npos) << boxes[0].prompt;
    EXPECT_EQ(boxes[0].buttons & 0xF, static_cast<unsigned>(MB_YESNO));
    EXPECT_EQ(Bytes(existing), "keep");
    EXPECT_EQ(GetFileAttributesA((folder_ + "\\keep.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace corvella
