// The test static library: code with resources, linked into the test program.
int QuillonTestStaticAnchor() { return 2; }
