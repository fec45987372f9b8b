// Renders the windows offscreen into PNG files.

int main() { return 0; }
