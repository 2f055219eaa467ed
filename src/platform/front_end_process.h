#pragma once
// The front end on one disc, started from the shelf as a process of its own (no shell between):
// `PROGRAM --disc PATH` and the options the user gave the shelf. Its standard output goes where
// the shelf's goes; its standard error is passed on too and kept, so that a start that fails can
// be told on the disc with the front end's own words.

#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace kestrova {

class FrontEndProcess : public QObject {
    Q_OBJECT
  public:
    FrontEndProcess(QString program, QStringList passOn, QObject* parent = nullptr);
    ~FrontEndProcess() override;

    // Starts the front end on `disc`; false when one is running already.
    bool Start(const QString& disc);
    bool Running() const { return process_.state() != QProcess::NotRunning; }
    qint64 Pid() const { return process_.processId(); }
    const QString& Disc() const { return disc_; }

  Q_SIGNALS:
    void Started(const QString& disc);
    // The front end has ended: `fault` says why it did not start (or stopped), empty when it
    // ended as the reader asked.
    void Ended(const QString& disc, const QString& fault);

  private:
    void Finish(const QString& fault);

    QString program_;
    QStringList passOn_;
    QString disc_;
    QByteArray standardError_;
    bool finished_ = true;
    QProcess process_;
};

} // namespace kestrova
