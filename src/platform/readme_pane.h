#pragma once
// The readme pane `Panel4` with its rich-text control `RichEdit1`: shows an entry's readme from
// the disc with its formatting and prints it through the standard print dialog.

#include "disc/disc_limits.h"
#include "engine/ports.h"

#include <QFrame>
#include <QString>

#include <cstddef>
#include <functional>
#include <string>

class QPrinter;
class QTextEdit;

namespace kestrova {

struct RichText;

// The file the print dialog offers for printing to a PDF: the readme's own name with ".pdf", in
// `documents` when that folder exists, else in `home`. `readmePath` is the readme's disc path
// decoded to UTF-8 ("databases/helix.rtf").
QString DefaultPrintFile(const std::string& readmePath, const QString& documents,
                         const QString& home);

class ReadmePaneWidget : public QFrame, public ReadmePane {
    Q_OBJECT
  public:
    // Readmes are a few pages; anything larger is not one.
    static constexpr std::size_t kMaxFileBytes = kReadmeKind.maxBytes;

    explicit ReadmePaneWidget(QWidget* parent = nullptr);
    ~ReadmePaneWidget() override;

    void Clear() override;
    bool LoadFromFile(const std::string& path, CodePage page = {}) override;
    bool Print(const std::string& title) override;
    void SetVisible(bool visible) override { setVisible(visible); }
    bool Visible() const override { return !isHidden(); }

    // The last loaded path as the front end gave it; empty after Clear or a failed load.
    std::string Path() const { return path_; }
    // What the pane shows, paragraphs separated by "\n".
    std::string PlainText() const;

    QTextEdit* RichEdit() const { return edit_; }

    // Asks the reader to confirm printing on `printer` (and lets them set it up); the standard
    // print dialog when empty. Tests print to a file, the replay harness always cancels.
    std::function<bool(QPrinter& printer)> confirmPrint;

  private:
    // False when the text was too long to lay out and only its beginning is shown.
    bool Show(const RichText& text);
    // Printing to a PDF file: made in memory, then written through the safe writer.
    bool PrintToPdf(const QPrinter& printer, const QString& jobTitle);

    QTextEdit* edit_ = nullptr;
    std::string path_;
};

} // namespace kestrova
