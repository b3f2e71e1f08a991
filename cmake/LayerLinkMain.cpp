// Linked with one window-free library taken whole and the libraries it
// declares: the program only has to link.
int main() { return 0; }
