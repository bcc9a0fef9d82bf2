// The CSV export through its opener on a real window and the real save
// dialog: columns moved across in the user's order, a new name typed into
// the dialog, the file read back by Python's csv module; a name the program
// extends asks before it replaces a file; a cancelled dialog writes nothing.
#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "app/tools/csv/win32/frm_csv.h"
#include "app/tools/tests/window_test_util.h"
#include "platform/forms/tests/forms_test_util.h"

namespace corvella {
namespace {

using namespace tooltest;
using Table = std::vector<std::vector<std::string>>;

// The file as Python's csv module reads it: a record a line, fields as hex.
Table ReadCsv(const std::string& file) {
    const std::string text =
        RunUnix("/usr/bin/python3 '" CORVELLA_CSV_READER "' '" + UnixPath(file) + "'", file + ".read");
    Table rows(1, std::vector<std::string>(1));
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\t') rows.back().emplace_back();
        else if (text[i] == '\n') rows.emplace_back(1);
        else rows.back().back().push_back(static_cast<char>(std::stoi(text.substr(i++, 2), nullptr, 16)));
    }
    rows.pop_back();
    return rows;
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
    // The dialog's place on the screen when it was answered.
    RECT Place() const { return place_; }

private:
    static DWORD WINAPI Run(void* self) {
        auto* a = static_cast<SaveAnswer*>(self);
        while (!a->answered_ && WaitForSingleObject(a->stop_, 10) == WAIT_TIMEOUT) {
            HWND dialog = FindWindowA("#32770", "Save CSV As...");
            if (dialog == nullptr || !IsWindowVisible(dialog)) continue;
            GetWindowRect(dialog, &a->place_);
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
    RECT place_{};
};

std::vector<std::string> Items(const forms::ListBox& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.ListCount(); ++i) out.push_back(list.List(i));
    return out;
}

void Click(forms::CommandButton& b) { SendMessageA(b.hWnd(), BM_CLICK, 0, 0); }

class CsvTool : public forms::testing::FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        OleInitialize(nullptr);
        const std::string data = WinPath(std::getenv("CORVELLA_CSV_DATA"));
        folder_ = data + "_work_" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder_.c_str(), nullptr);
        ASSERT_TRUE(CopyFileA((data + "\\one.mp3").c_str(), (folder_ + "\\one.mp3").c_str(), FALSE));
        files_.folder = folder_;
        files_.rows = {{folder_ + "\\one.mp3", false, {"Say \"Hi\", go", "A, B", "Two\r\nLines", "1999", "Caf\xE9", "Rock", "05"}},
                       {folder_ + "\\gone.mp3", false, {"Gone"}}};
        owner_.Show();
    }
    void TearDown() override {
        owner_.Unload();
        for (const char* name : {"one.mp3", "export.csv", "keep.txt.csv"}) DeleteFileA((folder_ + "\\" + name).c_str());
        RemoveDirectoryA(folder_.c_str());
        OleUninitialize();
        FormsTest::TearDown();
    }
    std::string folder_;
    FileSet files_;
    forms::testing::TestForm owner_;
};

TEST_F(CsvTool, ColumnsInTheOrderMovedToANewNameReadBackByACsvReader) {
    std::vector<std::string> available, exported;
    bool startStates = false, allMoved = false;
    RECT form{};
    std::unique_ptr<SaveAnswer> answer;
    Later([&] {
        FrmCSV& f = frmCSV();
        available = Items(f.List1[0]);
        startStates = f.Caption() == "Export CSV File..." && !IsWindowEnabled(f.Command1[0].hWnd()) &&
                      !IsWindowEnabled(f.Command2[0].hWnd()) && !IsWindowEnabled(f.Command2[3].hWnd());
        Click(f.Command2[2]);  // ">>"
        allMoved = Items(f.List1[1]) == available && !IsWindowEnabled(f.Command2[1].hWnd());
        f.List1[1].SetListIndex(2);  // "Title" goes back, and across again to the end
        Click(f.Command2[0]);
        Click(f.Command2[1]);
        exported = Items(f.List1[1]);
        GetWindowRect(f.hWnd(), &form);
        answer = std::make_unique<SaveAnswer>("export", IDOK);
        Click(f.Command1[0]);
    });
    OpenCsvTool(owner_, files_, {});
    ASSERT_TRUE(answer && answer->Answered());
    const RECT dialog = answer->Place();
    EXPECT_NEAR(dialog.left + dialog.right, form.left + form.right, 4) << "centred on the form";
    // The dialog still grows a little after it was centred.
    EXPECT_NEAR(dialog.top + dialog.bottom, form.top + form.bottom, 32);
    EXPECT_FALSE(frmCSV().Loaded()) << "the form closes after the export";
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(available, (std::vector<std::string>{"Filename", "Path", "Title", "Artist", "Album", "Year", "Track",
                                                   "Genre", "Comment", "KBps", "File Size (KB)", "Length"}));
    EXPECT_TRUE(startStates && allMoved);

    // The dialog gave the new name its extension; the file ends with an empty line.
    const std::string written = folder_ + "\\export.csv", bytes = Bytes(written);
    ASSERT_GT(bytes.size(), 5u);
    EXPECT_EQ(bytes.substr(bytes.size() - 5), "\"\r\n\r\n");
    const std::string path = folder_ + "\\";
    const Table expected = {
        {"Filename", "Path", "Artist", "Album", "Year", "Track", "Genre", "Comment", "KBps", "File Size KB", "Length", "Title"},
        {"one.mp3", path, "A, B", "Two\r\nLines", "1999", "05", "Rock", "Caf\xE9", "64", "8", "00:01", "Say \"Hi\", go"},
        {"gone.mp3", path, "", "", "", "", "", "", "", "", "", "Gone"},  // a vanished file keeps its row
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
    bool stayed = true;
    Later([&] {
        FrmCSV& f = frmCSV();
        Click(f.Command2[1]);  // ">": "Filename"
        for (const auto& [name, button] : {std::pair<const char*, int>{"keep.txt", IDOK}, {"", IDCANCEL}}) {
            SaveAnswer answer(name, button);
            Click(f.Command1[0]);
            stayed = stayed && answer.Answered() && f.Visible();
        }
        f.Command1[1].DoClick();
    });
    OpenCsvTool(owner_, files_, {});
    EXPECT_TRUE(stayed);
    ASSERT_EQ(boxes.size(), 1u) << "one question, and no message for the cancel";
    EXPECT_NE(boxes[0].prompt.find("keep.txt.csv"), std::string::npos) << boxes[0].prompt;
    EXPECT_EQ(boxes[0].buttons & 0xF, static_cast<unsigned>(MB_YESNO));
    EXPECT_EQ(Bytes(existing), "keep");
}

}  // namespace
}  // namespace corvella
