// The test extension library: a shared object that carries resources of its own.
int QuillonTestLibraryAnchor() { return 1; }
