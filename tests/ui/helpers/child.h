#pragma once

#include <QObject>
#include <QString>

#include <stdexcept>

// The child with this objectName; throws (failing the test) when there is none.
template <typename T> T* Child(const QObject& root, const QString& name) {
    T* found = root.findChild<T*>(name);
    if (found == nullptr)
        throw std::runtime_error("no child named " + name.toStdString());
    return found;
}
