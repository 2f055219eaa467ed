#pragma once
// A disc data file with the feature-demo block and standard records for entries 1 to 8, and an
// editor wired to a front end's lines and picture lists through ports that remember what they
// were asked.

#include "base/error.h"
#include "editor/disc_editor.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kestrova::testing_editor {

inline std::string RecordText(int n) {
    const std::string k = std::to_string(n);
    return "\r\n*BEGIN" + k + "\r\nTitle " + k + "\r\nDesc " + k + "a\r\nDesc " + k + "b\r\nDesc " +
           k + "c\r\nDemos/d" + k + "/setup.exe\r\nno\r\nno\r\nreadme" + k + ".rtf\r\nsupport" + k +
           "@example.com\r\nCPU " + k + "\r\nRAM " + k + "\r\nDisk " + k + "\r\n*END" + k + "\r\n";
}

inline std::string DiscText(int entries = 8) {
    std::string text = "\r\n*Spritecount\r\n9\r\nnote\r\n*BEGIN0\r\nFeature one\r\nFeature two\r\n"
                       "Feature three\r\n*END0\r\n";
    for (int n = 1; n <= entries; ++n) {
        text += RecordText(n);
    }
    text += "\r\n*BEGINUTILITIES\r\nTool\r\nUtils/tool.exe\r\n*ENDUTILITIES\r\n";
    return text;
}

// A one-colour picture.
inline Picture Plain(int w, int h, uint32_t rgb) {
    Picture p;
    p.width = w;
    p.height = h;
    p.bitDepth = 24;
    p.pixels.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0xFF000000u | rgb);
    return p;
}

struct ScriptedDialog : PictureDialog {
    std::vector<std::optional<std::string>> answers;
    int openings = 0;
    std::optional<std::string> Choose() override {
        ++openings;
        if (answers.empty()) {
            return std::nullopt;
        }
        auto a = answers.front();
        answers.erase(answers.begin());
        return a;
    }
};

struct FakePictures : PictureFiles {
    std::map<std::string, Picture> files;
    Picture Load(const std::string& path) override {
        const auto it = files.find(path);
        if (it == files.end()) {
            throw Error("Unknown picture file extension (.emf)");
        }
        return it->second;
    }
};

struct FakeWriter : FileWriter {
    bool fail = false;
    std::map<std::string, std::vector<uint8_t>> written;
    std::optional<WriteFailure> Replace(const std::string& path, std::span<const uint8_t> bytes,
                                        const std::string&) override {
        if (fail) {
            return WriteFailure{path, "No space left on device"};
        }
        written[path].assign(bytes.begin(), bytes.end());
        return std::nullopt;
    }
};

// The front end the editor opens on: its lines and two picture lists of ten items each.
struct EditorBench {
    LineList frontEnd;
    PictureCollection thumbs, panels;
    ScriptedDialog dialog;
    FakePictures pictures;
    FakeWriter writer;
    DiscEditor editor{EditorPorts{&dialog, &pictures, &writer, nullptr}};

    explicit EditorBench(const std::string& disc = DiscText()) {
        frontEnd.LoadFromBytes(disc);
        for (int i = 0; i < 10; ++i) {
            PictureCollectionItem& t = thumbs.Add();
            t.Name = "thumb" + std::to_string(i + 1);
            t.SetPicture(Plain(4, 2, 0x100000u * static_cast<uint32_t>(i + 1)));
            PictureCollectionItem& p = panels.Add();
            p.Name = "panel" + std::to_string(i + 1);
            p.SetPicture(Plain(8, 3, 0x1000u * static_cast<uint32_t>(i + 1)));
        }
    }

    // `localPath` unset: every disc path is a file of this machine.
    void Open(const std::string& discRoot = "/disc/",
              std::function<std::optional<std::string>(const std::string&)> localPath = {}) {
        FrontEndLink link;
        link.source = &frontEnd;
        link.SubSliderA = &thumbs;
        link.sliderlistA = &panels;
        link.spriteCount = 9;
        link.discRoot = discRoot;
        link.localPath = std::move(localPath);
        editor.OpenEditor(link);
    }

    EditorState& S() { return editor.State(); }
    // The title-list line that shows `entry`.
    int LineOf(int entry) {
        for (std::size_t i = 0; i < S().features.size(); ++i) {
            if (S().features[i].entry == entry) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }
    const std::string& Line(int entry, int offset) {
        return S().source.Get(S().source.IndexOf(BeginKey(entry)) + offset);
    }
};

} // namespace kestrova::testing_editor
