#pragma once

class QScrollArea;
class QString;
class QWidget;

// A frameless scroll area that sizes its content to itself, with a vertical scroll bar of the
// given object name so that the style sheet can address both.
QScrollArea* makePlainScrollArea(QWidget* parent, const QString& name, const QString& verticalBarName);
