int skin_placeholder() { return 0; }
