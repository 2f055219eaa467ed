#include "ui/shelf_model.h"

#include <QPersistentModelIndex>

#include <gtest/gtest.h>

namespace kestrova {
namespace {

ShelfDisc Disc(const std::string& name, long long opened = 0) {
    ShelfDisc d;
    d.path = "/k/" + name;
    d.fileName = name;
    d.lastOpened = opened;
    return d;
}

QStringList Rows(const ShelfModel& m) {
    QStringList out;
    for (int r = 0; r < m.rowCount(); ++r) {
        out << m.index(r).data().toString();
    }
    return out;
}

DiscReport Report(const std::string& label, const std::string& fault = {}) {
    DiscReport r;
    r.label = label;
    r.issueLine = "Issue 27 - June 1999";
    r.fault = fault;
    if (fault.empty()) {
        r.thumbnail = QImage(200, 150, QImage::Format_RGB32);
    }
    return r;
}

TEST(ShelfModel, AProbedNameReordersTheRowsAndTheChosenDiscStaysChosen) {
    ShelfModel m;
    m.SetDiscs({Disc("b"), Disc("c"), Disc("d")});
    const QPersistentModelIndex chosen = m.index(2); // d
    m.SetProbe(QStringLiteral("/k/d"), Report("Alpha"));
    EXPECT_EQ(Rows(m),
              (QStringList{QStringLiteral("Alpha"), QStringLiteral("b"), QStringLiteral("c")}));
    EXPECT_EQ(chosen.row(), 0);
    EXPECT_EQ(chosen.data(ShelfModel::PathRole).toString(), QStringLiteral("/k/d"));
    EXPECT_FALSE(chosen.data(ShelfModel::ThumbnailRole).value<QImage>().isNull());
    EXPECT_EQ(m.ProbedCount(), 1);
    EXPECT_FALSE(m.AllProbed());
}

TEST(ShelfModel, ProbesOutliveTheShelfBeingReadAgain) {
    ShelfModel m;
    m.SetDiscs({Disc("a"), Disc("b")});
    m.SetProbe(QStringLiteral("/k/a"), Report("Issue 27"));
    m.SetProbe(QStringLiteral("/k/b"), Report("", "Cannot open file engine\\images\\mainbg.bmp"));
    m.SetStartFault(QStringLiteral("/k/a"), QStringLiteral("The front end stopped unexpectedly."));
    EXPECT_TRUE(m.AllProbed());
    m.SetDiscs({Disc("b"), Disc("a"), Disc("new")});
    const QModelIndex a = m.IndexOf(QStringLiteral("/k/a"));
    EXPECT_EQ(a.data().toString(), QStringLiteral("Issue 27"));
    EXPECT_EQ(a.data(ShelfModel::FaultRole).toString(),
              QStringLiteral("The front end stopped unexpectedly."));
    const QModelIndex b = m.IndexOf(QStringLiteral("/k/b"));
    EXPECT_EQ(b.data(ShelfModel::FaultRole).toString(),
              QStringLiteral("Cannot open file engine\\images\\mainbg.bmp"));
    EXPECT_TRUE(b.data(ShelfModel::ThumbnailRole).value<QImage>().isNull());
    EXPECT_FALSE(m.IndexOf(QStringLiteral("/k/new")).data(ShelfModel::ProbedRole).toBool());
    // Started well: the start fault goes, the probe's stays.
    m.SetStartFault(QStringLiteral("/k/a"), QString());
    EXPECT_EQ(m.IndexOf(QStringLiteral("/k/a")).data(ShelfModel::FaultRole).toString(), QString());
}

TEST(ShelfModel, EditingTheNameSetsOrClearsTheLabel) {
    ShelfModel m;
    m.SetDiscs({Disc("a")});
    m.SetProbe(QStringLiteral("/k/a"), Report("Kestrova 27"));
    QStringList edited;
    QObject::connect(&m, &ShelfModel::LabelEdited,
                     [&](const QString&, const QString& label) { edited << label; });
    EXPECT_TRUE(m.flags(m.index(0)).testFlag(Qt::ItemIsEditable));
    ASSERT_TRUE(m.setData(m.index(0), QStringLiteral("  My   June disc "), Qt::EditRole));
    EXPECT_EQ(m.index(0).data().toString(), QStringLiteral("My June disc"));
    ASSERT_EQ(edited.count(), 1);
    EXPECT_EQ(edited.at(0), QStringLiteral("My June disc"));
    // The disc's own name typed back takes the label away.
    m.setData(m.index(0), QStringLiteral("Kestrova 27"), Qt::EditRole);
    ASSERT_EQ(edited.count(), 2);
    EXPECT_EQ(edited.at(1), QString());
    // Nothing changed: nothing told.
    m.setData(m.index(0), QStringLiteral("Kestrova 27"), Qt::EditRole);
    EXPECT_EQ(edited.count(), 2);
}

TEST(ShelfModel, FilterAndOrderChangeTheRowsShown) {
    ShelfModel m;
    m.SetDiscs({Disc("Issue 9", 5), Disc("Issue 10", 50), Disc("extras")});
    m.SetOrder(ShelfOrder::LastOpened);
    EXPECT_EQ(Rows(m), (QStringList{QStringLiteral("Issue 10"), QStringLiteral("Issue 9"),
                                    QStringLiteral("extras")}));
    m.SetLastOpened(QStringLiteral("/k/extras"), 100);
    EXPECT_EQ(Rows(m).first(), QStringLiteral("extras"));
    m.SetFilter(QStringLiteral("issue"));
    EXPECT_EQ(Rows(m), (QStringList{QStringLiteral("Issue 10"), QStringLiteral("Issue 9")}));
    EXPECT_FALSE(m.IndexOf(QStringLiteral("/k/extras")).isValid());
    EXPECT_EQ(m.DiscAt(5), nullptr);
}

} // namespace
} // namespace kestrova
