#include "shell/app.h"

int main() { return shell::RunProgram(); }
