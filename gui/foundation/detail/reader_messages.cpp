#include "gui/foundation/detail/reader_messages.h"

#include <QThread>
#include <atomic>

namespace {

// The messages of Qt's image reader plugins carry these categories.
constexpr char reader_category[] = "qt.gui.imageio";

std::atomic<ReaderMessages*> keeping{nullptr};
std::atomic<Qt::HANDLE> keepingThread{nullptr};
std::atomic<QtMessageHandler> previous{nullptr};

}  // namespace

ReaderMessages::ReaderMessages()
{
    keepingThread = QThread::currentThreadId();
    keeping = this;
    previous = qInstallMessageHandler(&ReaderMessages::keep);
}

ReaderMessages::~ReaderMessages()
{
    qInstallMessageHandler(previous);
    keeping = nullptr;
}

void ReaderMessages::keep(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    ReaderMessages* messages = keeping;
    if (messages != nullptr && QThread::currentThreadId() == keepingThread &&
        context.category != nullptr &&
        qstrncmp(context.category, reader_category, sizeof reader_category - 1) == 0) {
        messages->kept << message;
        messages->types << type;
        messages->categories << QByteArray(context.category);
        return;
    }
    // Null only while the handler is being installed.
    if (QtMessageHandler handler = previous)
        handler(type, context, message);
}

bool ReaderMessages::dataEndedEarly() const
{
    for (const QString& message : kept)
        if (message.contains(QLatin1String("premature end"), Qt::CaseInsensitive))
            return true;
    return false;
}

void ReaderMessages::release()
{
    for (qsizetype k = 0; k < kept.size(); ++k) {
        const QMessageLogContext context(nullptr, 0, nullptr, categories[k].constData());
        previous.load()(types[k], context, kept[k]);
    }
    kept.clear();
    types.clear();
    categories.clear();
}
