#include "core/LevelUnit.h"

#include <QString>

#include "resources/Strings.h"

QString LevelUnit::text() const {
  switch (m_code) {
    case kDbm: return Strings::LoadString(Strings::IDS_UI_UNIT_DBM);
    case kDbuv: return Strings::LoadString(Strings::IDS_UI_UNIT_DBUV);
    default: return Strings::LoadString(Strings::IDS_UI_UNIT_DBMV);
  }
}
