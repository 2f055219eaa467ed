#pragma once
// The disc editor's services from Qt: the picture-open dialog (answered by the harness under
// replay), reading picture files, and message boxes.

#include "editor/editor_ports.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <deque>
#include <optional>
#include <string>

class QWidget;

namespace kestrova {

// A disc picture as an image for a widget, pixels of the colour `key` (0xRRGGBB) left out as the
// menu leaves them out; and an image read from a file as a disc picture.
QImage ToQImage(const Picture& picture, std::optional<uint32_t> key = std::nullopt);
Picture FromQImage(const QImage& image);

// The dialog filter's "description|patterns|..." pairs in the form a Qt file dialog takes:
// "description (pattern pattern)" entries separated by ";;".
QString QtFileFilter(const std::string& filter);

class EditorPictureDialog : public PictureDialog {
  public:
    EditorPictureDialog(QWidget* parent, bool scripted) : parent_(parent), scripted_(scripted) {}
    // Scripted: each opening takes the next answer; with none left the dialog is cancelled.
    std::optional<std::string> Choose() override;
    void QueueAnswer(const std::string& file) { answers_.emplace_back(file); }
    void QueueCancel() { answers_.emplace_back(); }
    int Openings() const { return openings_; }

  private:
    QWidget* parent_;
    bool scripted_;
    int openings_ = 0;
    std::deque<std::optional<std::string>> answers_;
};

// Bitmaps (".bmp", ".dib") through the program's own reader, which keeps their depth and palette;
// the kinds Qt reads (PNG, JPEG, GIF, icons) through Qt. Anything else is refused by its
// extension. Files and pictures beyond sensible sizes are refused before they are read.
class EditorPictureFiles : public PictureFiles {
  public:
    static constexpr qint64 kMaxFileBytes = 64LL * 1024 * 1024;
    static constexpr int kMaxSide = 8192;
    Picture Load(const std::string& path) override;
};

// What the person answers when closing would lose edits.
enum class UnwrittenAnswer { Write, Discard, Cancel };

// Shown in a message box, except under the harness, where the editor's state records them and
// questions take scripted answers (Cancel when none is left).
class EditorMessageBox : public EditorMessages {
  public:
    EditorMessageBox(QWidget* parent, bool quiet) : parent_(parent), quiet_(quiet) {}
    void ShowMessage(const std::string& text) override;
    UnwrittenAnswer AskAboutUnwritten(const std::string& text);
    void QueueAnswer(UnwrittenAnswer answer) { answers_.push_back(answer); }

  private:
    QWidget* parent_;
    bool quiet_;
    std::deque<UnwrittenAnswer> answers_;
};

} // namespace kestrova
