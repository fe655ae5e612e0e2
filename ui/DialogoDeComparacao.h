#pragma once

#include <QDialog>
#include <functional>

class QLineEdit;

namespace zorla {

// "Comparar exportações…": the export before and the one after, each a folder or one exported file, typed or
// chosen; "Comparar" hands both over.
class DialogoDeComparacao : public QDialog {
public:
    DialogoDeComparacao(const QString& inicial, std::function<void(const QString&, const QString&)> aoComparar,
                        QWidget* parent);

private:
    QLineEdit* campo(const QString& rotulo, const char* nome, const QString& inicial);
    QLineEdit* m_antes;
    QLineEdit* m_depois;
};

}  // namespace zorla
