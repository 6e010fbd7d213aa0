// Host stand-in: the ADS basic types (points, entity names) and prompt result codes.
#pragma once

typedef double ads_real;
typedef ads_real ads_point[3];
// An entity name: two words that the host gives out and resolves back to an object.
typedef long ads_name[2];

// Coordinate indexes into an ads_point.
enum { X = 0, Y = 1, Z = 2 };

// Prompt and call results.
#define RTNORM 5100
#ifndef RTNONE
#define RTNONE 5000
#endif
#define RTREJ (-5003)
#define RTERROR (-5001)
#define RTCAN (-5002)
#define RTFAIL (-5004)
#define RTKWORD (-5005)

#define ads_name_set(from, to) ((to)[0] = (from)[0], (to)[1] = (from)[1])
#define ads_name_clear(name) ((name)[0] = (name)[1] = 0)
#define ads_name_nil(name) ((name)[0] == 0 && (name)[1] == 0)
#define ads_name_equal(a, b) ((a)[0] == (b)[0] && (a)[1] == (b)[1])

// A value of one of the types of adscodes.h; strings are allocated with malloc and freed
// by whoever receives them.
union ads_u_val {
  ads_real rreal;
  ads_real rpoint[3];
  short rint;
  char* rstring;
  long rlname[2];
  long rlong;
};

struct resbuf {
  struct resbuf* rbnext;
  short restype;
  union ads_u_val resval;
};
