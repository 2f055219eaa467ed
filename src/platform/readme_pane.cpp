#include "platform/readme_pane.h"

#include "base/error.h"
#include "base/safe_file_writer.h"
#include "base/terminal_text.h"
#include "disc/disc_file_system.h"
#include "disc/file_reader.h"
#include "rich_text/rich_text.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <algorithm>

Q_DECLARE_LOGGING_CATEGORY(lcPlatform)

namespace kestrova {

namespace {

// Qt lays out a stretch of text with no break in it in a time that grows with the square of its
// length, and a hostile file can hold one of a megabyte. No real word is this long: longer
// stretches get an invisible break opportunity.
constexpr int kLongestWord = 128;
constexpr char16_t kZeroWidthSpace = 0x200B;

QString WithBreaks(const QString& text, int& sinceBreak) {
    QString out;
    out.reserve(text.size() + text.size() / kLongestWord);
    for (const QChar c : text) {
        if (c.isSpace() && c != QChar::Nbsp) {
            sinceBreak = 0;
        } else if (++sinceBreak > kLongestWord) {
            out.append(QChar(kZeroWidthSpace));
            sinceBreak = 1;
        }
        out.append(c);
    }
    return out;
}

// Qt's layout never finishes once a document grows some millions of pixels tall, which a
// megabyte of text in a large font reaches. The height is estimated generously as the text goes
// in (every line half full, every character an em wide and a line 1.5 em tall), and the text
// stops well before.
class HeightBudget {
  public:
    explicit HeightBudget(double dpi) : dpi_(dpi > 0 ? dpi : 96) {}

    // A new paragraph or line.
    bool Line(double points) {
        left_ -= 1.5 * Em(points);
        return left_ >= 0;
    }

    // How many of the leading characters of `text` fit in what is left.
    qsizetype Fit(const QString& text, double points) {
        const double em = Em(points);
        const double line = 1.5 * em;
        const double perCharacter = line * std::min(1.0, 2 * em / kTextWidth);
        const double perTab = line * std::min(1.0, 2 * std::max(em, kTabStop) / kTextWidth);
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text[i];
            left_ -= c == QChar::LineSeparator ? line : c == u'\t' ? perTab : perCharacter;
            if (left_ < 0) {
                return i;
            }
        }
        return text.size();
    }

  private:
    static constexpr double kMaxHeight = 4'000'000;
    static constexpr double kTextWidth = 200; // a little less than the pane's
    static constexpr double kTabStop = 80;    // Qt's default distance between tab stops
    double Em(double points) const { return (points > 0 ? points : 9.0) * dpi_ / 72.0; }

    double dpi_;
    double left_ = kMaxHeight;
};

Qt::Alignment AlignmentOf(RichAlignment alignment) {
    switch (alignment) {
    case RichAlignment::Centre:
        return Qt::AlignHCenter;
    case RichAlignment::Right:
        return Qt::AlignRight;
    case RichAlignment::Justify:
        return Qt::AlignJustify;
    case RichAlignment::Left:
        break;
    }
    return Qt::AlignLeft;
}

QTextCharFormat FormatOf(const RichRun& run) {
    QTextCharFormat format;
    if (!run.font.empty()) {
        format.setFontFamilies(QStringList{QString::fromStdString(run.font)});
    }
    if (run.size > 0) {
        format.setFontPointSize(run.size);
    }
    format.setFontWeight(run.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(run.italic);
    format.setFontUnderline(run.underline);
    if (run.colour) {
        format.setForeground(QColor(static_cast<QRgb>(*run.colour)));
    }
    return format;
}

} // namespace

QString DefaultPrintFile(const std::string& readmePath, const QString& documents,
                         const QString& home) {
    // The name after the last separator of either kind, its extension dropped.
    QString name = QString::fromStdString(readmePath);
    name = name.mid(
        std::max(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\'))) + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot > 0) {
        name.truncate(dot);
    }
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) {
        name = QStringLiteral("readme");
    }
    const QString folder = !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : home;
    return QDir(folder).filePath(name + QStringLiteral(".pdf"));
}

ReadmePaneWidget::ReadmePaneWidget(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("Panel4"));
    setGeometry(437, 137, 283, 208);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    setAutoFillBackground(true);
    QPalette panel = palette();
    panel.setColor(QPalette::Window, Qt::white);
    setPalette(panel);

    edit_ = new QTextEdit(this);
    edit_->setObjectName(QStringLiteral("RichEdit1"));
    edit_->setGeometry(11, 1, 273, 205);
    edit_->setFrameShape(QFrame::NoFrame);
    edit_->setReadOnly(true);
    edit_->setAcceptRichText(false);
    edit_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    edit_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit_->setLineWrapMode(QTextEdit::WidgetWidth);
    QPalette page = edit_->palette();
    page.setColor(QPalette::Base, Qt::white);
    page.setColor(QPalette::Text, Qt::black);
    edit_->setPalette(page);

    Clear();
    hide();
}

ReadmePaneWidget::~ReadmePaneWidget() = default;

void ReadmePaneWidget::Clear() {
    edit_->clear();
    QFont font = QApplication::font();
    font.setPointSize(9);
    font.setStyleHint(QFont::AnyStyle); // the default pitch: neither fixed nor proportional forced
    edit_->setFont(font);
    edit_->document()->setDefaultFont(font);
    path_.clear();
}

bool ReadmePaneWidget::LoadFromFile(const std::string& path, CodePage page) {
    // A failed load leaves the control empty, as the front end expects.
    edit_->document()->clear();
    path_.clear();
    const QString real = QString::fromStdString(TerminalSafe(CurrentDisc().Resolve(path)));
    std::string bytes;
    try {
        // Through the disc in use: a pipe, a device or a file past the limit is refused without
        // waiting on it.
        const std::vector<uint8_t> read = ReadBoundedFile(path, kReadmeKind);
        bytes.assign(read.begin(), read.end());
    } catch (const Error& e) {
        qCWarning(lcPlatform).noquote()
            << "readme not loaded:" << QString::fromStdString(TerminalSafe(e.Detail()));
        return false;
    }
    const RichText text = ParseRtf(bytes, page);
    if (text.truncated) {
        qCWarning(lcPlatform) << "readme cut short at the reader's limits:" << real;
    }
    if (!Show(text)) {
        qCWarning(lcPlatform) << "readme cut short, too long to lay out:" << real;
    }
    path_ = path;
    return true;
}

bool ReadmePaneWidget::Show(const RichText& text) {
    QTextDocument* doc = edit_->document();
    doc->clear();
    QTextCursor cursor(doc);
    cursor.beginEditBlock();
    HeightBudget budget(edit_->logicalDpiY());
    bool whole = true;
    // An empty paragraph takes the format of the text before it, so a blank line between large
    // headings is as tall as they are.
    QTextCharFormat carried;
    double carriedPoints = 0;
    bool first = true;
    for (const RichParagraph& paragraph : text.paragraphs) {
        QTextBlockFormat block;
        block.setAlignment(AlignmentOf(paragraph.alignment));
        if (!paragraph.runs.empty()) {
            carried = FormatOf(paragraph.runs.front());
            carriedPoints = paragraph.runs.front().size;
        }
        if (!budget.Line(carriedPoints)) {
            whole = false;
            break;
        }
        if (first) {
            cursor.setBlockFormat(block);
            cursor.setBlockCharFormat(carried);
            first = false;
        } else {
            cursor.insertBlock(block, carried);
        }
        int sinceBreak = 0;
        for (const RichRun& run : paragraph.runs) {
            QString chunk = WithBreaks(
                QString::fromUtf8(run.text.data(), static_cast<qsizetype>(run.text.size())),
                sinceBreak);
            // A line break inside the paragraph; a plain '\n' would start a new one.
            chunk.replace(QLatin1Char('\n'), QChar(QChar::LineSeparator));
            carried = FormatOf(run);
            carriedPoints = run.size;
            const qsizetype fit = budget.Fit(chunk, run.size);
            if (fit < chunk.size()) {
                chunk.truncate(fit);
                whole = false;
            }
            cursor.insertText(chunk, carried);
            if (!whole) {
                break;
            }
        }
        if (!whole) {
            break;
        }
    }
    cursor.endEditBlock();
    edit_->moveCursor(QTextCursor::Start);
    edit_->verticalScrollBar()->setValue(0);
    return whole;
}

std::string ReadmePaneWidget::PlainText() const {
    return edit_->document()->toPlainText().remove(QChar(kZeroWidthSpace)).toStdString();
}

bool ReadmePaneWidget::Print(const std::string& title) {
    const QString jobTitle = QString::fromStdString(title);
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(jobTitle);
    // Left to itself the dialog would offer a PDF at the disc path under the home folder
    // (~/databases/NAME.pdf), a folder that is seldom there: printing to it fails.
    printer.setOutputFileName(
        DefaultPrintFile(title, QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                         QDir::homePath()));
    bool confirmed = false;
    if (confirmPrint) {
        confirmed = confirmPrint(printer);
    } else {
        QPrintDialog dialog(&printer, this);
        confirmed = dialog.exec() == QDialog::Accepted;
    }
    if (!confirmed) {
        return false;
    }
    printer.setDocName(jobTitle);
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        return PrintToPdf(printer, jobTitle);
    }
    edit_->document()->print(&printer);
    if (printer.printerState() == QPrinter::Error) {
        qCWarning(lcPlatform) << "readme not printed:" << jobTitle;
        return false;
    }
    return true;
}

bool ReadmePaneWidget::PrintToPdf(const QPrinter& printer, const QString& jobTitle) {
    // A PDF is made in memory with the page the dialog chose, then written as every file of
    // ours is: a full disk or a folder that cannot be written leaves what was there before.
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setPageLayout(printer.pageLayout());
        writer.setResolution(printer.resolution());
        writer.setTitle(jobTitle);
        writer.setCreator(QApplication::applicationName());
        edit_->document()->print(&writer);
    } // the writer ends the document as it goes
    const QByteArray& bytes = pdf.data();
    const auto failure =
        WriteFileSafely(printer.outputFileName().toStdString(),
                        std::span(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                  static_cast<std::size_t>(bytes.size())));
    if (failure) {
        qCWarning(lcPlatform) << "readme not printed:"
                              << QString::fromStdString(TerminalSafe(failure->Text()));
        return false;
    }
    return true;
}

} // namespace kestrova
