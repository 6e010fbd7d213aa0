// System variables with the host's defaults, and real numbers in the drawing's linear units.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "acedads.h"
#include "adscodes.h"
#include "dbapserv.h"
#include "dbsymtb.h"
#include "qplatform/Host.h"

namespace qhost {
namespace {
short& Errno() {
  static short value = 0;
  return value;
}

char* MallocString(const char* s) {
  char* copy = static_cast<char*>(std::malloc(std::strlen(s) + 1));
  std::strcpy(copy, s);
  return copy;
}

std::string Upper(const char* s) {
  std::string u = s ? s : "";
  for (char& c : u) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return u;
}

// A fraction of `denominator` parts, reduced: "1/2", or "" for none.
std::string Fraction(long numerator, long denominator) {
  if (numerator == 0) return "";
  while (numerator % 2 == 0 && denominator % 2 == 0) {
    numerator /= 2;
    denominator /= 2;
  }
  return std::to_string(numerator) + "/" + std::to_string(denominator);
}

// Whole units and a fraction with a denominator of 2^prec, rounded to the nearest part.
std::string Fractional(double v, int prec) {
  long denominator = 1L << prec;
  long parts = std::lround(v * static_cast<double>(denominator));
  long whole = parts / denominator;
  std::string fraction = Fraction(parts % denominator, denominator);
  if (fraction.empty()) return std::to_string(whole);
  return whole == 0 ? fraction : std::to_string(whole) + " " + fraction;
}

}  // namespace

void SetErrno(short value) { Errno() = value; }

}  // namespace qhost

int acedGetVar(const char* sym, struct resbuf* result) {
  if (result == nullptr) return RTERROR;
  std::string name = qhost::Upper(sym);
  result->rbnext = nullptr;
  if (name == "ERRNO") {
    result->restype = RTSHORT;
    result->resval.rint = qhost::Errno();
    return RTNORM;
  }
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  if (db == nullptr) return RTERROR;
  if (name == "TEXTSTYLE") {
    const char* styleName = "Standard";
    AcDbTextStyleTableRecord* rec = nullptr;
    if (acdbOpenObject(rec, db->textstyle(), AcDb::kForRead) == Acad::eOk) {
      rec->getName(styleName);
      rec->close();
    }
    result->restype = RTSTR;
    result->resval.rstring = qhost::MallocString(styleName);
  } else if (name == "TEXTSIZE") {
    result->restype = RTREAL;
    result->resval.rreal = db->textsize();
  } else if (name == "TILEMODE") {
    result->restype = RTSHORT;
    result->resval.rint = db->tilemode() ? 1 : 0;
  } else if (name == "LUNITS") {
    result->restype = RTSHORT;
    result->resval.rint = db->lunits();
  } else if (name == "LUPREC") {
    result->restype = RTSHORT;
    result->resval.rint = db->luprec();
  } else {
    return RTERROR;
  }
  return RTNORM;
}

int acedSetVar(const char* sym, const struct resbuf* val) {
  if (val == nullptr) return RTERROR;
  std::string name = qhost::Upper(sym);
  bool isInt = val->restype == RTSHORT || val->restype == RTLONG;
  long intValue = val->restype == RTSHORT ? val->resval.rint : val->restype == RTLONG ? val->resval.rlong : 0;
  if (name == "ERRNO") {
    if (!isInt) return RTERROR;
    qhost::SetErrno(static_cast<short>(intValue));
    return RTNORM;
  }
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  if (db == nullptr) return RTERROR;
  Acad::ErrorStatus es = Acad::eInvalidInput;
  if (name == "TEXTSTYLE" && val->restype == RTSTR && val->resval.rstring) {
    AcDbTextStyleTable* table = nullptr;
    if (db->getTextStyleTable(table, AcDb::kForRead) == Acad::eOk) {
      AcDbObjectId id;
      table->getAt(val->resval.rstring, id);
      table->close();
      if (!id.isNull()) es = db->setTextstyle(id);
    }
  } else if (name == "TEXTSIZE" && (val->restype == RTREAL || isInt)) {
    es = db->setTextsize(val->restype == RTREAL ? val->resval.rreal : static_cast<double>(intValue));
  } else if (name == "TILEMODE" && isInt && (intValue == 0 || intValue == 1)) {
    es = db->setTilemode(intValue == 1);
  } else if (name == "LUNITS" && isInt) {
    es = db->setLunits(static_cast<Adesk::Int16>(intValue));
  } else if (name == "LUPREC" && isInt) {
    es = db->setLuprec(static_cast<Adesk::Int16>(intValue));
  }
  return es == Acad::eOk ? RTNORM : RTERROR;
}

int acdbRToS(ads_real val, int unit, int prec, char* str) {
  if (str == nullptr) return RTERROR;
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  if (unit == -1) unit = db ? db->lunits() : 2;
  if (prec == -1) prec = db ? db->luprec() : 4;
  if (unit < 1 || unit > 5 || prec < 0 || prec > 8) return RTERROR;
  std::string s;
  char buf[64];
  double a = std::fabs(val);
  // Values no unit but the scientific one can write in a few characters are written in it.
  if (!std::isfinite(val) || a >= 1e15) unit = 1;
  std::string sign = val < 0 && a >= 0.5 * std::pow(10.0, -prec) ? "-" : "";
  switch (unit) {
    case 1:
      std::snprintf(buf, sizeof buf, "%.*E", prec, val);
      s = buf;
      break;
    case 2:
      std::snprintf(buf, sizeof buf, "%.*f", prec, a);
      s = sign + buf;
      break;
    case 3: {
      // Engineering: feet and decimal inches; the value is in inches.
      long feet = static_cast<long>(a / 12.0);
      std::snprintf(buf, sizeof buf, "%ld'-%.*f\"", feet, prec, a - 12.0 * static_cast<double>(feet));
      s = sign + buf;
      break;
    }
    case 4: {
      // Architectural: feet and inches with a fraction.
      long feet = static_cast<long>(a / 12.0);
      s = sign + std::to_string(feet) + "'-" + qhost::Fractional(a - 12.0 * static_cast<double>(feet), prec) + "\"";
      break;
    }
    case 5:
      s = sign + qhost::Fractional(a, prec);
      break;
  }
  std::strcpy(str, s.c_str());
  return RTNORM;
}

struct resbuf* acutNewRb(int v) {
  auto* rb = static_cast<struct resbuf*>(std::calloc(1, sizeof(struct resbuf)));
  rb->restype = static_cast<short>(v);
  return rb;
}

int acutRelRb(struct resbuf* rb) {
  while (rb != nullptr) {
    struct resbuf* next = rb->rbnext;
    if (rb->restype == RTSTR) std::free(rb->resval.rstring);
    std::free(rb);
    rb = next;
  }
  return RTNORM;
}
