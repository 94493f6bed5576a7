int forms_placeholder() { return 0; }
