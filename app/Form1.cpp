// placeholder, replaced by the main window
int mivo_form1_placeholder = 0;
