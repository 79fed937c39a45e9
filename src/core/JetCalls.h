#pragma once
// The SQLite implementations of the Jet functions; the table that names them
// and gives their arities is in JetFunctions.cpp.
struct sqlite3_context;
struct sqlite3_value;

namespace JetCalls {

// Each is declared through the type: void f(sqlite3_context*, int, sqlite3_value**).
using Call = void(sqlite3_context*, int, sqlite3_value**);

// Text (JetCallsText.cpp)
Call asc;
Call chr;
Call concat;
Call format;
Call inStr;
Call lcase;
Call left;
Call len;
Call ltrim;
Call mid;
Call replace;
Call right;
Call rtrim;
Call space;
Call str;
Call strComp;
Call string;
Call trim;
Call ucase;

// Numbers, conversions and choices (JetCallsNumbers.cpp)
Call abs;
Call cbool;
Call cbyte;
Call ccur;
Call cdbl;
Call cint;
Call clng;
Call csng;
Call cstr;
Call choose;
Call exp;
Call fix;
Call iif;
Call intDiv;
Call intPart;
Call isNull;
Call isNumeric;
Call log;
Call mod;
Call power;
Call round;
Call sgn;
Call sqr;
Call switchOf;
Call val;

// Dates (JetCallsDates.cpp)
Call cdate;
Call date;
Call dateAdd;
Call dateDiff;
Call datePart;
Call dateSerial;
Call dateValue;
Call day;
Call hour;
Call minute;
Call month;
Call monthName;
Call now;
Call second;
Call time;
Call timeSerial;
Call timeValue;
Call weekday;
Call weekdayName;
Call year;

} // namespace JetCalls
