// Host stand-in: the editor's prompt, system-variable and output functions.
#pragma once

#include "adsdef.h"

int acedGetPoint(const ads_point pt, const char* prompt, ads_point result);
int acedEntSel(const char* str, ads_name entres, ads_point ptres);
int acedGetString(int cronly, const char* prompt, char* result);
int acedGetVar(const char* sym, struct resbuf* result);
// Runs a command of the host with its answers: pairs of a result type and a value (RTSTR text,
// RTPOINT point, RTREAL real, RTSHORT integer), ended by RTNONE. RTNORM when the command ran.
int acedCommand(int rtype, ...);
int acedSetVar(const char* sym, const struct resbuf* val);
int acutPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Formats `val` in linear units `unit` (-1: LUNITS) with `prec` decimals (-1: LUPREC).
int acdbRToS(ads_real val, int unit, int prec, char* str);
struct resbuf* acutNewRb(int v);
int acutRelRb(struct resbuf* rb);
