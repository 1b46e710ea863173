// See Artefacts.h.
#include "Artefacts.h"

#include <QRegularExpression>
#include <QtDebug>

namespace tivla::e2e {

Artefacts::Artefacts(const QString& root, const QString& suite, const QString& test)
    : folder_(QDir(root).filePath(suite + QLatin1Char('/') + test)) {
    folder_.removeRecursively();
    folder_.mkpath(QStringLiteral("."));
}

QString Artefacts::keep(const QImage& screen, const QString& step) {
    QString name = step;
    static const QRegularExpression unsafe(QStringLiteral("[^\\w.-]+"),
                                           QRegularExpression::UseUnicodePropertiesOption);
    name.replace(unsafe, QStringLiteral("-"));
    const QString path = folder_.filePath(
        QStringLiteral("%1-%2.png").arg(++count_, 2, 10, QLatin1Char('0')).arg(name));
    if (!screen.isNull() && screen.save(path, "PNG")) {
        qInfo().noquote() << "artefact:" << path;
    }
    return path;
}

} // namespace tivla::e2e
