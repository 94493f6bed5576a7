int app_placeholder() { return 0; }
