// The screenshots and logs one test function leaves behind, in a folder of its own under the
// build tree, each path printed as it is written.
#pragma once

#include <QDir>
#include <QImage>
#include <QString>

namespace tivla::e2e {

class Artefacts {
public:
    Artefacts() = default;
    // Empties root/suite/test and makes it the folder for what follows.
    Artefacts(const QString& root, const QString& suite, const QString& test);

    // Saves the screenshot as "NN-step.png" (NN counting up) and returns its path.
    QString keep(const QImage& screen, const QString& step);
    QString filePath(const QString& name) const { return folder_.filePath(name); }
    QString folder() const { return folder_.path(); }

private:
    QDir folder_;
    int count_ = 0;
};

} // namespace tivla::e2e
