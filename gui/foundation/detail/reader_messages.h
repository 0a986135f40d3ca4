#pragma once

// What Qt's image readers say while one file is read. Qt's readers report
// some damage only as a warning: the JPEG reader fills the rest of a
// truncated file in grey and says so. While a ReaderMessages lives, the
// readers' messages on its thread are kept instead of printed; every other
// message goes where it went before. GUI thread only; not nested.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

class ReaderMessages {
public:
    ReaderMessages();
    // Stops keeping messages (those kept are not printed).
    ~ReaderMessages();
    ReaderMessages(const ReaderMessages&) = delete;
    ReaderMessages& operator=(const ReaderMessages&) = delete;

    // The kept messages, one a line.
    QString text() const { return kept.join('\n'); }
    // Whether a kept message says the data ended before the picture did.
    bool dataEndedEarly() const;
    // Hands the kept messages on where they would have gone, once.
    void release();

private:
    static void keep(QtMsgType type, const QMessageLogContext& context, const QString& message);

    QStringList kept;
    QList<QtMsgType> types;
    QList<QByteArray> categories;
};
