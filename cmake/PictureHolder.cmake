# qp_write_picture_holder(<table> <header> <class>)
# Writes <header>: a QWidget subclass <class> that paints nothing and only carries one QString
# property per name of <table> (one name a line; "#" starts a comment line). The style sheet
# fills the properties with "qproperty-" rules, so the pictures of painted table cells live in
# the sheet. Run at configure time; the table is a configure input.
function(qp_write_picture_holder table header class)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${table})
  file(STRINGS ${table} rows REGEX "^[A-Za-z]")
  set(declarations "")
  set(accessors "")
  set(members "")
  foreach(name ${rows})
    if(NOT name MATCHES "^[a-z][A-Za-z0-9]*$")
      message(FATAL_ERROR "${table}: cannot read \"${name}\"")
    endif()
    string(SUBSTRING ${name} 0 1 first)
    string(TOUPPER ${first} first)
    string(SUBSTRING ${name} 1 -1 rest)
    string(APPEND declarations "    Q_PROPERTY(QString ${name} READ ${name} WRITE set${first}${rest})\n")
    string(APPEND accessors "    QString ${name}() const { return m_${name}; }\n    void set${first}${rest}(const QString& path) { m_${name} = path; }\n")
    string(APPEND members "    QString m_${name};\n")
  endforeach()
  file(RELATIVE_PATH source ${CMAKE_SOURCE_DIR} ${table})
  file(WRITE ${header}.tmp "// Generated from ${source}; edit that list, not this file.
#pragma once

#include <QString>
#include <QVariant>
#include <QWidget>

// Carries the picture paths that the style sheet sets with \"qproperty-\" rules; paints nothing.
class ${class} : public QWidget
{
    Q_OBJECT
${declarations}
public:
    explicit ${class}(QWidget* parent = nullptr)
        : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

${accessors}
    // The path stored under a property name; empty for a name that is not one of them.
    QString picture(const char* name) const { return property(name).toString(); }

private:
${members}};
")
  configure_file(${header}.tmp ${header} COPYONLY)
endfunction()
