/* A stand-in for the suite's RAR library with only some of its exports, so
   that tests see both found and missing entries. */
int A(void) { return 101; }
int B(void) { return 102; }
int C(void) { return 103; }
int F(int x) { return 200 + x; }
