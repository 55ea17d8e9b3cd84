#include "adapters/ui/DialogPieces.h"

#include <QLabel>
#include <QLineEdit>
#include <QPixmap>

namespace quorrel {

QLabel* makeBullet(int number, QWidget* parent) {
    auto* bullet = new QLabel(parent);
    bullet->setObjectName(QStringLiteral("bullet%1").arg(number));
    bullet->setPixmap(QPixmap(QStringLiteral(":/images/bullet_%1.png").arg(number)));
    bullet->setFixedSize(kBulletSize, kBulletSize);
    return bullet;
}

QLineEdit* makeValueField(QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setReadOnly(true);
    field->setFrame(true);
    field->setFocusPolicy(Qt::StrongFocus);
    field->setContextMenuPolicy(Qt::DefaultContextMenu);
    return field;
}

}  // namespace quorrel
