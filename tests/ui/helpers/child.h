#pragma once

#include <QObject>
#include <QString>
#include <QTest>
#include <QWidget>

#include <stdexcept>
#include <type_traits>

// The child with this objectName. When there is none the current test fails, and a stand-in is
// returned so that the rest of that test function runs harmlessly; the other tests still run.
template <typename T> T* Child(const QObject& root, const QString& name) {
    if (T* found = root.findChild<T*>(name))
        return found;
    const QByteArray message = "no child named " + name.toUtf8();
    QTest::qFail(message.constData(), __FILE__, __LINE__);
    // Kept for the life of the program: the test has failed already.
    if constexpr (std::is_default_constructible_v<T>)
        return new T();
    else if constexpr (std::is_constructible_v<T, QWidget*>)
        return new T(static_cast<QWidget*>(nullptr));
    else
        throw std::runtime_error(message.toStdString());
}
