#include "ui/editor_form.h"

#include "base/code_page.h"
#include "disc/disc_file_system.h"
#include "engine/front_end.h"
#include "engine/main_state.h"
#include "platform/program_icon.h"

#include <QCloseEvent>
#include <QEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QShortcut>

namespace kestrova {

namespace {

// The editor's texts are the disc's bytes, in the code page its lines carry.
QString Shown(const std::string& bytes, CodePage page) {
    return QString::fromStdString(DecodeText(bytes, page));
}

std::string Typed(const QString& text, CodePage page) {
    return EncodeText(text.toStdString(), page);
}

QLabel* MakeLabel(QWidget* parent, const char* name, const char* caption, int left, int top) {
    auto* label = new QLabel(QString::fromLatin1(caption), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->move(left, top);
    label->adjustSize();
    return label;
}

// A picture control: the picture at its top-left, cut off at the control's edges.
QLabel* MakePicture(QWidget* parent, const char* name, int left, int top, int width, int height) {
    auto* picture = new QLabel(parent);
    picture->setObjectName(QString::fromLatin1(name));
    picture->setGeometry(left, top, width, height);
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return picture;
}

// Shows `lines` in a list, touching only the lines that changed.
void ShowLines(QListWidget* list, const std::vector<QString>& lines) {
    while (list->count() > static_cast<int>(lines.size())) {
        delete list->takeItem(list->count() - 1);
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int row = static_cast<int>(i);
        if (row < list->count()) {
            if (list->item(row)->text() != lines[i]) {
                list->item(row)->setText(lines[i]);
            }
        } else {
            list->addItem(lines[i]);
        }
    }
}

constexpr int kWindowWidth = 976;
// The working copy of the lines stands right of the panel picture, down to its button's foot.
constexpr int kSourceLeft = 632;

// "Entry 7 — Disc editor" once a record has been stored, naming the entry the boxes edit.
QString WindowTitle(const EditorState& s) {
    const QString editor = QStringLiteral("Disc editor");
    if (s.caption == EditorState::kStartCaption) {
        return editor;
    }
    const QString entry = s.caption == "0"
                              ? QStringLiteral("Feature demo")
                              : QStringLiteral("Entry ") + Shown(s.caption, s.source.Page());
    return entry + QStringLiteral(" \u2014 ") + editor;
}

struct ButtonSpec {
    const char* name;
    const char* caption;
    int left, top, width, height;
};

// Button1 to Button6 as the window lays them out, then the button that writes the disc data file.
constexpr ButtonSpec kButtons[7] = {{"Button1", "REFRESH", 160, 360, 169, 17},
                                    {"Button2", "NEW", 160, 336, 83, 17},
                                    {"Button3", "DELETE", 248, 336, 83, 17},
                                    {"Button4", "SAVE", 344, 336, 81, 41},
                                    {"Button5", "Load Thumbnail", 0, 344, 145, 25},
                                    {"Button6", "Load Game Image", 8, 600, 145, 25},
                                    {"WriteButton", "Write Disc Data File", 432, 336, 185, 41}};

} // namespace

Tform1::Tform1(bool replay, QWidget* parent)
    : QWidget(parent), dialog_(this, replay), messages_(this, replay),
      editor_(EditorPorts{&dialog_, &pictures_, &files_, &messages_}) {
    setObjectName(QStringLiteral("form1"));
    setWindowIcon(ProgramIcon());
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);
    move(301, 15);
    // Wider than the boxes need, so the working copy of the lines beside them can be read.
    resize(kWindowWidth, 674);
    BuildControls();
    ShowState();
}

Tform1::~Tform1() = default;

template <typename Handler> void Tform1::Run(Handler handler) {
    handler();
    ShowState();
}

void Tform1::BuildControls() {
    MakeLabel(this, "Label1", "Titles on this Disc", 160, 8);
    features_ = new QListWidget(this);
    features_->setObjectName(QStringLiteral("features"));
    features_->setGeometry(160, 24, 169, 305);
    connect(features_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        Run([&] { editor_.featuresClick(features_->row(item)); });
    });

    Label2_ = MakeLabel(this, "Label2", "Game Title", 344, 8);
    auto makeBox = [this](int box, QWidget* parent, int left, int top, int width) {
        auto* edit = new QLineEdit(parent);
        edit->setObjectName(
            QString::fromLatin1(RecordBoxes()[static_cast<std::size_t>(box)].control));
        edit->setGeometry(left, top, width, 21);
        edit->setMaxLength(static_cast<int>(LineList::kMaxLineLength));
        boxes_[box] = edit;
        // Only the user's changes reach the editor: filling the boxes stores nothing.
        connect(edit, &QLineEdit::textEdited, this, [this, box](const QString& text) {
            Run([&] { editor_.SetBox(box, Typed(text, editor_.State().source.Page())); });
        });
    };
    makeBox(kTitleBox, this, 344, 24, 129);
    boxes_[kTitleBox]->installEventFilter(this);

    auto* group = new QGroupBox(QStringLiteral("Rollout Descriptions"), this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    group->setGeometry(344, 48, 273, 97);
    makeBox(kEdit1, group, 16, 16, 241);
    makeBox(kEdit2, group, 16, 40, 241);
    makeBox(kEdit3, group, 16, 64, 241);

    MakeLabel(this, "Label4", "EXE Pathname", 344, 152);
    makeBox(kEdit4, this, 344, 168, 273);
    MakeLabel(this, "Label3", "Title of Readme file", 344, 192);
    makeBox(kEdit5, this, 344, 208, 121);
    MakeLabel(this, "Label5", "Tech support contact info", 488, 192);
    makeBox(kEdit6, this, 488, 208, 129);
    MakeLabel(this, "Label6", "Minimum System Requirements", 344, 240);
    makeBox(kEdit9, this, 344, 256, 113);
    makeBox(kEdit8, this, 344, 280, 225);
    makeBox(kEdit7, this, 344, 304, 225);

    source_ = new QListWidget(this);
    source_->setObjectName(QStringLiteral("source"));
    source_->setGeometry(kSourceLeft, 24, kWindowWidth - kSourceLeft - 8, 601);
    QFont bold = font();
    bold.setBold(true);
    source_->setFont(bold);

    subz_ = MakePicture(this, "subz", 8, 280, 50, 52);
    imagez_ = MakePicture(this, "imagez", 8, 384, 617, 209);

    void (DiscEditor::*handlers[7])() = {&DiscEditor::Button1Click,
                                         &DiscEditor::Button2Click,
                                         &DiscEditor::Button3Click,
                                         &DiscEditor::Button4Click,
                                         &DiscEditor::Button5Click,
                                         &DiscEditor::Button6Click,
                                         nullptr};
    for (int i = 0; i < 7; ++i) {
        const ButtonSpec& shape = kButtons[i];
        auto* button = new QPushButton(QString::fromLatin1(shape.caption), this);
        button->setObjectName(QString::fromLatin1(shape.name));
        button->setGeometry(shape.left, shape.top, shape.width, shape.height);
        buttons_[i] = button;
        const auto handler = handlers[i];
        connect(button, &QPushButton::clicked, this, [this, handler] {
            Run([&] {
                if (handler != nullptr) {
                    (editor_.*handler)();
                } else {
                    editor_.WriteDataFile();
                }
            });
        });
    }
    buttons_[6]->setToolTip(QStringLiteral("Writes the lines to the disc data file (Ctrl+S)"));
    auto* save = new QShortcut(QKeySequence::Save, this);
    connect(save, &QShortcut::activated, this, [this] { Run([&] { editor_.WriteDataFile(); }); });
}

void Tform1::OpenEditor(MainState& frontEnd) {
    FrontEndLink link;
    link.source = &frontEnd.source;
    link.SubSliderA = &frontEnd.SubSliderA;
    link.sliderlistA = &frontEnd.sliderlistA;
    link.spriteCount = frontEnd.spriteCount;
    link.discRoot = FrontEnd::CurrentDirectory();
    link.localPath = [](const std::string& path) { return CurrentDisc().LocalPath(path); };
    show();
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
        raise();
    }
    Run([&] { editor_.OpenEditor(link); });
}

QLineEdit* Tform1::Box(int box) const {
    return box >= 0 && box < kBoxCount ? boxes_[box] : nullptr;
}

QPushButton* Tform1::ButtonNamed(const QString& nameOrCaption) const {
    for (QPushButton* button : buttons_) {
        if (button->objectName().compare(nameOrCaption, Qt::CaseInsensitive) == 0 ||
            button->text().compare(nameOrCaption, Qt::CaseInsensitive) == 0) {
            return button;
        }
    }
    return nullptr;
}

bool Tform1::ConfirmClose() {
    if (!editor_.HasUnwrittenEdits()) {
        return true;
    }
    const std::string question = "The disc editor has edits that are not in the disc data file " +
                                 editor_.ShownPath(kDiscDataFile) +
                                 ". Write them to it before closing?";
    editor_.State().messages.push_back(question);
    bool go = false;
    Run([&] {
        switch (messages_.AskAboutUnwritten(question)) {
        case UnwrittenAnswer::Write:
            go = editor_.WriteDataFile();
            break;
        case UnwrittenAnswer::Discard:
            editor_.DeclineUnwrittenEdits();
            go = true;
            break;
        case UnwrittenAnswer::Cancel:
            break;
        }
    });
    return go;
}

void Tform1::closeEvent(QCloseEvent* event) {
    if (ConfirmClose()) {
        QWidget::closeEvent(event);
    } else {
        event->ignore();
    }
}

bool Tform1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == boxes_[kTitleBox] && event->type() == QEvent::KeyRelease) {
        Run([&] { editor_.titleKeyUp(); });
    }
    return QWidget::eventFilter(watched, event);
}

void Tform1::ShowState() {
    const EditorState& s = editor_.State();
    const CodePage page = s.source.Page();
    setWindowTitle(WindowTitle(s));

    std::vector<QString> titles;
    titles.reserve(s.features.size());
    for (const TitleLine& line : s.features) {
        titles.push_back(Shown(line.text, page));
    }
    {
        const QSignalBlocker block(features_);
        ShowLines(features_, titles);
        features_->setCurrentRow(s.selected);
    }

    for (int box = 0; box < kBoxCount; ++box) {
        const QString text = Shown(s.boxes[static_cast<std::size_t>(box)], page);
        QLineEdit* edit = boxes_[box];
        if (edit->text() != text) {
            const QSignalBlocker block(edit);
            edit->setText(text);
            // A long value shows its beginning; the whole of it is the box's tooltip.
            edit->setCursorPosition(0);
        }
        if (edit->toolTip() != text) {
            edit->setToolTip(text);
        }
    }
    Label2_->setText(Shown(s.label2, page));
    Label2_->adjustSize();

    std::vector<QString> lines;
    lines.reserve(s.source.Lines().size());
    for (const std::string& line : s.source.Lines()) {
        lines.push_back(Shown(line, page));
    }
    ShowLines(source_, lines);

    subz_->setPixmap(QPixmap::fromImage(ToQImage(s.subz, s.subzKey)));
    imagez_->setPixmap(QPixmap::fromImage(ToQImage(s.imagez, s.imagezKey)));
}

} // namespace kestrova
